#include "board/suggestions.h"

#include "app/screens.h"
#include "app/sharedstate.h"
#include "app/talkwindow.h"
#include "board/suggestkey.h"
#include "entries/entryformat.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"

Suggestions::Suggestions(TalkWindow &w, SharedState &shared) : m_w(w), m_shared(shared) {}

void Suggestions::SuggestFromTail(const QString &text)
{
    if (!m_shared.settings.suggestionsOn() || text.isEmpty())
        return;
    BusyScope busy;
    if (const auto key = SuggestKey::fromTail(text, m_w.txtTalk->selStart(), m_shared.settings.Sample))
        ShowSuggestions(*key);
}

void Suggestions::ShowSuggestions(const QString &key)
{
    if (key.isEmpty())
        return;
    Grid *g = m_w.grdSp;
    g->setRedraw(false);
    Twips::setRect(g, Twips::rect(m_w.grdBoard));
    g->setRows(0);
    g->setCols(1);
    g->setColWidth(0, TalkWindow::CanvasWidth);
    QStringList rows{EntryFormat::trimSpaces(key)};
    if (m_shared.SampleTexts) {
        // The placeholder lines only reserve the menu rows; they are never offered.
        for (const QString &s : *m_shared.SampleTexts)
            if (s != EntryFormat::Placeholder && SuggestKey::matches(key, s))
                rows << s;
    }
    g->setRows(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        g->setTextMatrix(r, 0, rows[r]);
    if (rows.size() == 1) {
        Screen::board(m_w);
    } else {
        g->setRow(0);
        g->setCol(0);
        g->setCellBackColor(Colors::LightGreen);
        g->setChosenRow(0);
        g->setTopRow(0);
        g->setRedraw(true);
        m_w.fraSet->hide();
        Screen::list(m_w, g);
    }
    m_shared.gListRow = g->row();
}
