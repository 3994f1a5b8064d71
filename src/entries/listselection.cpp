#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "entries/entries.h"
#include "platform/colors.h"
#include "platform/grid.h"
#include "platform/textbox.h"

void SelectListRow(TalkContext &t, Grid *g, int startColumn)
{
    t.keyBeep();
    const int n = g->mouseRow();
    // A press below the last row selects nothing.
    if (n < 0 || n >= g->rows()) {
        t.w->txtTalk->setFocus();
        return;
    }
    g->setRow(t.gListRow);
    g->setCol(startColumn);
    g->setColSel(g->cols() - 1);
    g->setCellBackColor(Colors::White);
    g->setRow(n);
    g->setCol(startColumn);
    g->setColSel(g->cols() - 1);
    g->setCellBackColor(Colors::LightGreen);
    t.gListRow = n;
    t.w->txtTalk->setFocus();
}
