#pragma once

#include <QtGlobal>
#include <array>

struct SharedState;
class Grid;
class TalkWindow;

// The five list grids, in the order the list tools look for the one on show,
// with the column their selection colour starts at.
struct ListGrid
{
    Grid *grid;
    int startColumn;
};
std::array<ListGrid, 5> ListGrids(const TalkWindow &w);
// The column a list's selection colour starts at.
int ListStartColumn(const TalkWindow &w, const Grid *grid);

// Whether row `row` of a list is shown selected (its mark always reaches the last column).
bool ListRowMarked(const Grid *grid, int row);
// Colours row `row` of a list from its start column to the last column.
void PaintListRow(Grid *grid, int row, int startColumn, quint32 bgr);
// Marks row `row` of a list from its start column on, and scrolls it to the top.
void MarkListRow(Grid *grid, int row, int startColumn, bool scrollToTop);

// A press on a list row selects it.
class ListSelection
{
public:
    ListSelection(TalkWindow &w, SharedState &shared);

    void SelectListRow(Grid *grid, int startColumn);

private:
    TalkWindow &m_w;
    SharedState &m_shared;
};
