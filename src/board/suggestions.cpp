#include "board/suggestions.h"

#include "board/suggestkey.h"
#include "entries/entryformat.h"
#include "entries/listselection.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"
#include "shared/canvas.h"
#include "shared/sharedstate.h"

Suggestions::Suggestions(const Controls &c, SharedState &shared) : m_c(c), m_shared(shared) {}

void Suggestions::SuggestFromTail(const QString &text)
{
    if (!m_shared.settings.suggestionsOn() || text.isEmpty())
        return;
    BusyScope busy;
    if (const auto key = SuggestKey::fromTail(text, m_c.txtTalk->selStart(), m_shared.settings.Sample))
        ShowSuggestions(*key);
}

void Suggestions::ShowSuggestions(const QString &key)
{
    if (key.isEmpty())
        return;
    Grid *g = m_c.grdSp;
    TalkState &state = m_shared.state;
    g->setRedraw(false);
    Twips::setRect(g, Twips::rect(m_c.grdBoard));
    g->setRows(0);
    ForgetListRow(state, ListId::Suggestions);
    g->setCols(1);
    g->setColWidth(0, Canvas::Width);
    QStringList rows{EntryFormat::trimSpaces(key)};
    if (m_shared.SampleTexts) {
        // The placeholder lines only reserve the menu rows; they are never offered.
        for (const QString &s : *m_shared.SampleTexts)
            if (s != EntryFormat::Placeholder &&
                (m_shared.readingOf ? SuggestKey::matchesTextOrReading(key, s, m_shared.readingOf(s))
                                    : SuggestKey::matches(key, s)))
                rows << s;
    }
    g->setRows(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        g->setTextMatrix(r, 0, rows[r]);
    if (rows.size() == 1) {
        state.showBoard();
    } else {
        MarkListRow(state, ListId::Suggestions, g, 0, 0, true);
        g->setRedraw(true);
        state.setSelectionOpen(false);
        state.showList(ListId::Suggestions);
    }
    m_shared.gListRow = g->row();
}
