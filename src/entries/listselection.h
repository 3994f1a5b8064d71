#pragma once

#include "shared/talkstate.h"

#include <QtGlobal>
#include <array>

struct SharedState;
class Grid;
class QWidget;

// The five list grids, indexed by ListId: the order the list tools look for the one on show.
struct ListGrids
{
    std::array<Grid *, ListCount> grids{};

    Grid *of(ListId list) const { return list == ListId::None ? nullptr : grids[size_t(list)]; }
};

// The column a list's selection colour starts at.
int ListStartColumn(ListId list);

// Whether row `row` of a list is the one shown chosen.
bool ListRowMarked(const TalkState &state, ListId list, const Grid *grid, int row);
// Shows row `row` of a list chosen, coloured from `startColumn` to the last column,
// and, if asked, scrolled to the top.
void MarkListRow(TalkState &state, ListId list, Grid *grid, int row, int startColumn, bool scrollToTop);
// Moves the chosen colour of a list from row `from` to row `to`.
void MoveListRow(TalkState &state, ListId list, Grid *grid, int from, int to);
// A list emptied for refilling shows no row chosen.
void ForgetListRow(TalkState &state, ListId list);
// A list filled anew: row `row` alone is chosen, the list's row, and scrolled to the top.
void ChooseOnlyRow(TalkState &state, ListId list, Grid *grid, int row);

// A press on a list row selects it.
class ListSelection
{
public:
    ListSelection(SharedState &shared, const ListGrids &lists, QWidget *txtTalk);

    void SelectListRow(ListId list);

private:
    SharedState &m_shared;
    ListGrids m_lists;
    QWidget *m_txtTalk; // the text box, which takes the focus back
};
