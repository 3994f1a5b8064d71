#include "board/selectioncells.h"

#include "board/modifiers.h"

SelectionTable SelectionCells(const std::function<QString(int row, int col)> &T, int C, int R)
{
    SelectionTable cells;
    // The right-hand column is taken only up to column 8, on either board width.
    const bool left = C != 0, right = C <= 8;
    for (int i = 0; i < 3; ++i) {
        const int r = R - 1 + i;
        const bool rowExists = (i != 0 || R != 0) && (i != 2 || R <= 3);
        auto &row = cells[size_t(i)];
        row[0] = rowExists && left ? T(r, C - 1) : QString();
        row[1] = rowExists ? T(r, C) : QString();
        row[2] = rowExists && right ? T(r, C + 1) : QString();
        if (rowExists)
            FillVariantCells(row, T(r, C));
    }
    return cells;
}

void FillVariantCells(std::array<QString, 3> &row, const QString &ch)
{
    const QString small = Modifiers::smallForm(ch);
    if (!small.isEmpty())
        row[2] = small;
    const Modifiers::Voicing v = Modifiers::voicing(ch);
    if (!v.left.isEmpty())
        row[0] = v.left;
    if (!v.right.isEmpty())
        row[2] = v.right;
}
