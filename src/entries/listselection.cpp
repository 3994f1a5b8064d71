#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "entries/entries.h"
#include "platform/colors.h"
#include "platform/grid.h"
#include "platform/textbox.h"

std::array<ListGrid, 5> ListGrids(TalkWindow *w)
{
    return {{{w->grdSp, 0}, {w->grdEx, 1}, {w->grdDay, 1}, {w->grdAD, 0}, {w->grdMail, 0}}};
}

bool ListRowMarked(const Grid *g, int row)
{
    return row >= 0 && row < g->rows() && g->cols() > 0 &&
           g->cellBackColor(row, g->cols() - 1) == Colors::LightGreen;
}

Grid *ListOnShow(TalkWindow *w)
{
    for (const ListGrid list : ListGrids(w))
        if (!list.grid->isHidden())
            return list.grid;
    return nullptr;
}

void PaintListRow(Grid *g, int row, int startColumn, quint32 bgr)
{
    g->setRow(row);
    g->setCol(startColumn);
    g->setColSel(g->cols() - 1);
    g->setCellBackColor(bgr);
}

void SelectListRow(TalkContext &t, Grid *g, int startColumn)
{
    t.keyBeep();
    const int n = g->mouseRow();
    // A press below the last row selects nothing.
    if (n < 0 || n >= g->rows()) {
        t.w->txtTalk->setFocus();
        return;
    }
    PaintListRow(g, t.gListRow, startColumn, Colors::White);
    PaintListRow(g, n, startColumn, Colors::LightGreen);
    t.gListRow = n;
    t.w->txtTalk->setFocus();
}
