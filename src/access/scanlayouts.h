#pragma once

#include "access/scantree.h"

#include <vector>

// Ways of grouping a grid of cells for scanning.
namespace ScanLayouts {

struct Cell
{
    QString text; // empty: nothing to press there
    int target = -1;
};
// A grid's cells row by row.
using Table = std::vector<std::vector<Cell>>;

// Row-column scanning: a group per row, then its cells, left to right.
std::vector<ScanNode> byRows(const Table &table);
// Column-row scanning, columns from the right: on the kana board each column
// is a kana row (あいうえお), and あ stands on the right.
std::vector<ScanNode> byColumnsFromRight(const Table &table);
// Consecutive groups gathered `size` at a time, in their order (the last block
// may hold fewer): reaching a far column then takes fewer steps, at one more
// press. A block of one is that node itself.
std::vector<ScanNode> inBlocks(std::vector<ScanNode> groups, int size);

// The selection screen (three rows, the pressed character in the middle):
// by rows, or with the pressed character itself first, since it is the one
// most often wanted, then the other cells of its row (its voiced and small
// forms) one by one from the right, and then the rows above and below.
std::vector<ScanNode> selectionScreen(const Table &table, bool pickFirst);

// The board's groups with the strip of candidates, `likely` to hold the word
// wanted (0 to 1), before them, or after them when a step passed over it on
// every character costs more than the board's groups passed over to reach it
// where it is wanted. The kana likely typed next (`next`) come right before the
// board: a step over them costs less than the board's groups they spare. The
// one place that decides the strip's place in a scan.
std::vector<ScanNode> withStrip(std::vector<ScanNode> board, std::vector<ScanNode> strip, double likely,
                                std::vector<ScanNode> next = {});

// A group, or the node itself when it would hold only one; nothing when empty.
void appendGroup(std::vector<ScanNode> &to, const QString &label, std::vector<ScanNode> members);

// Adds the call for help to a screen's top level: last, so that one round of
// the top level reaches it and no character costs a step more for it.
void addCall(std::vector<ScanNode> &top, std::vector<ScanNode> call);

} // namespace ScanLayouts
