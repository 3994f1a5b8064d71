#pragma once

#include <QString>
#include <array>
#include <functional>

// The selection screen's three rows around first-screen cell (row R, column C):
// each cell shows the first-screen neighbour in its direction where there is
// one, and the outer cells of a row show the small and voiced forms of its
// middle character where it has them.
using SelectionTable = std::array<std::array<QString, 3>, 3>;
SelectionTable SelectionCells(const std::function<QString(int row, int col)> &board, int C, int R);

// Writes the small and voiced forms of ch into the outer cells of a selection-screen row.
void FillVariantCells(std::array<QString, 3> &row, const QString &ch);
