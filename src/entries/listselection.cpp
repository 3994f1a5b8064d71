#include "entries/listselection.h"

#include "platform/colors.h"
#include "platform/grid.h"
#include "platform/textbox.h"
#include "shared/sharedstate.h"

namespace {

void paintRow(Grid *g, int row, int startColumn, quint32 bgr)
{
    g->setRow(row);
    g->setCol(startColumn);
    g->setColSel(g->cols() - 1);
    g->setCellBackColor(bgr);
}

} // namespace

int ListStartColumn(ListId list)
{
    return list == ListId::Examples || list == ListId::Diary ? 1 : 0;
}

bool ListRowMarked(const TalkState &state, ListId list, const Grid *g, int row)
{
    return row >= 0 && row < g->rows() && g->cols() > 0 && state.chosenRow(list) == row;
}

void MarkListRow(TalkState &state, ListId list, Grid *g, int row, int startColumn, bool scrollToTop)
{
    paintRow(g, row, startColumn, Colors::LightGreen);
    state.setChosenRow(list, row);
    g->setChosenRow(row, startColumn);
    if (scrollToTop)
        g->setTopRow(row);
}

void MoveListRow(TalkState &state, ListId list, Grid *g, int from, int to)
{
    paintRow(g, from, ListStartColumn(list), Colors::White);
    if (state.chosenRow(list) == from)
        state.setChosenRow(list, -1);
    MarkListRow(state, list, g, to, ListStartColumn(list), false);
}

void ForgetListRow(TalkState &state, ListId list)
{
    state.setChosenRow(list, -1);
}

void ChooseOnlyRow(TalkState &state, ListId list, Grid *grid, int row)
{
    grid->clearCellBackColors();
    ForgetListRow(state, list);
    state.setListRow(row);
    MarkListRow(state, list, grid, row, ListStartColumn(list), true);
}

ListSelection::ListSelection(SharedState &shared, const ListGrids &lists, QWidget *txtTalk)
    : m_shared(shared), m_lists(lists), m_txtTalk(txtTalk)
{}

void ListSelection::SelectListRow(ListId list)
{
    Grid *g = m_lists.of(list);
    m_shared.keyBeep();
    const int n = g->mouseRow();
    // A press below the last row selects nothing.
    if (n < 0 || n >= g->rows()) {
        m_txtTalk->setFocus();
        return;
    }
    MoveListRow(m_shared.state, list, g, m_shared.state.listRow(), n);
    m_shared.state.setListRow(n);
    m_txtTalk->setFocus();
}
