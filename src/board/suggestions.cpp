#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "board/board.h"
#include "board/suggestkey.h"
#include "entries/entryformat.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/grid.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"

void SuggestFromTail(TalkContext &t, const QString &text)
{
    if (!t.settings.suggestionsOn() || text.isEmpty())
        return;
    BusyScope busy;
    if (const auto key = SuggestKey::fromTail(text, t.w->txtTalk->selStart(), t.settings.Sample))
        ShowSuggestions(t, *key);
}

void ShowSuggestions(TalkContext &t, const QString &key)
{
    if (key.isEmpty())
        return;
    TalkWindow *w = t.w;
    Grid *g = w->grdSp;
    g->setRedraw(false);
    Twips::setRect(g, Twips::rect(w->grdBoard));
    g->setRows(0);
    g->setCols(1);
    g->setColWidth(0, TalkWindow::CanvasWidth);
    QStringList rows{EntryFormat::trimSpaces(key)};
    if (t.SampleTexts) {
        // The placeholder lines only reserve the menu rows; they are never offered.
        for (const QString &s : *t.SampleTexts)
            if (s != EntryFormat::Placeholder && SuggestKey::matches(key, s))
                rows << s;
    }
    g->setRows(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r)
        g->setTextMatrix(r, 0, rows[r]);
    if (rows.size() == 1) {
        w->grdBoard->show();
        w->fraTalk->hide();
        w->fraDay->hide();
        w->fraRes->show();
        g->hide();
    } else {
        g->setRow(0);
        g->setCol(0);
        g->setCellBackColor(Colors::LightGreen);
        g->setTopRow(0);
        g->setRedraw(true);
        g->show();
        w->grdBoard->hide();
        w->fraDay->hide();
        w->fraRes->hide();
        w->fraSet->hide();
        w->fraTalk->show();
    }
    t.gListRow = g->row();
}
