#include "entries/listselection.h"

#include "app/sharedstate.h"
#include "app/talkwindow.h"
#include "platform/colors.h"
#include "platform/grid.h"
#include "platform/textbox.h"

std::array<ListGrid, 5> ListGrids(const TalkWindow &w)
{
    return {{{w.grdSp, 0}, {w.grdEx, 1}, {w.grdDay, 1}, {w.grdAD, 0}, {w.grdMail, 0}}};
}

int ListStartColumn(const TalkWindow &w, const Grid *grid)
{
    for (const ListGrid list : ListGrids(w))
        if (list.grid == grid)
            return list.startColumn;
    return 0;
}

bool ListRowMarked(const Grid *g, int row)
{
    return row >= 0 && row < g->rows() && g->cols() > 0 &&
           g->cellBackColor(row, g->cols() - 1) == Colors::LightGreen;
}

void PaintListRow(Grid *g, int row, int startColumn, quint32 bgr)
{
    g->setRow(row);
    g->setCol(startColumn);
    g->setColSel(g->cols() - 1);
    g->setCellBackColor(bgr);
}

void MarkListRow(Grid *g, int row, int startColumn, bool scrollToTop)
{
    PaintListRow(g, row, startColumn, Colors::LightGreen);
    g->setChosenRow(row, startColumn);
    if (scrollToTop)
        g->setTopRow(row);
}

ListSelection::ListSelection(TalkWindow &w, SharedState &shared) : m_w(w), m_shared(shared) {}

void ListSelection::SelectListRow(Grid *g, int startColumn)
{
    m_shared.keyBeep();
    const int n = g->mouseRow();
    // A press below the last row selects nothing.
    if (n < 0 || n >= g->rows()) {
        m_w.txtTalk->setFocus();
        return;
    }
    PaintListRow(g, m_shared.gListRow, startColumn, Colors::White);
    MarkListRow(g, n, startColumn, false);
    m_shared.gListRow = n;
    m_w.txtTalk->setFocus();
}
