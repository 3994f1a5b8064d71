#pragma once

// Counting one-switch scan steps on the hiragana board, shared by the
// benchmarks that type through the scanner.
#include "access/scanlayouts.h"
#include "access/scanner.h"
#include "board/boardpages.h"
#include "board/selectioncells.h"

#include <optional>
#include <utility>
#include <vector>

namespace ScanCount {

constexpr int MaxC = 9;           // the default board width
constexpr int ButtonGroups = 4;   // the main window's button groups after the board
constexpr int FirstButton = 1000; // the target of the first button leaf

struct Layout
{
    const char *name;
    bool columnFirst;
    bool pickFirst;
    bool blocks; // the columns gathered three at a time
};

inline const Layout Layouts[] = {{"plain", false, false, false},
                                 {"columns", true, false, false},
                                 {"pick_first", false, true, false},
                                 {"columns_pick_first", true, true, false},
                                 {"columns_blocks_pick_first", true, true, true}};

// Where the call for help stands in the scan: nowhere (before there was a
// call), first on every screen (as it first came), or where the program puts it.
enum class CallPlace { None, First, Program };
inline constexpr CallPlace CallPlaces[] = {CallPlace::None, CallPlace::First, CallPlace::Program};
constexpr int CallTarget = 900;

inline const char *nameOf(CallPlace place)
{
    return place == CallPlace::None ? "none" : place == CallPlace::First ? "first" : "program";
}

inline void withCall(std::vector<ScanNode> &top, CallPlace place)
{
    std::vector<ScanNode> call{ScanNode::leaf(QStringLiteral("呼び出し"), CallTarget)};
    if (place == CallPlace::First)
        top.insert(top.begin(), call.front());
    else if (place == CallPlace::Program)
        ScanLayouts::addCall(top, std::move(call));
}

inline QString boardCell(int r, int c)
{
    return BoardPages::cell(BoardPages::CharSet::Hiragana, MaxC, r, c);
}

// Highlights shown until the scan, starting where it starts, has pressed `target`.
inline int stepsTo(Scanner &s, int target)
{
    const std::vector<int> path = PathTo(s.tree(), target);
    if (path.empty())
        return -1;
    int steps = 1; // the first highlight
    for (size_t level = 0; level < path.size(); ++level) {
        while (s.path().back() != path[level]) {
            s.move();
            ++steps;
        }
        s.select();
        if (level + 1 < path.size())
            ++steps; // the first highlight inside the group
    }
    return steps;
}

inline ScanNode withButtons(std::vector<ScanNode> top, CallPlace place)
{
    for (int i = 0; i < ButtonGroups; ++i)
        top.push_back(
            ScanNode::group(QStringLiteral("buttons"), {ScanNode::leaf("a", FirstButton + 2 * i),
                                                        ScanNode::leaf("b", FirstButton + 1 + 2 * i)}));
    withCall(top, place);
    return ScanNode::group(QString(), std::move(top));
}

// The board cell and the selection-screen column that give `ch` from the cell's own row: its own
// cell where it has one (pressed first on the selection screen), not a neighbour's screen.
inline std::optional<std::pair<std::pair<int, int>, int>> route(const QString &ch)
{
    if (ch.trimmed().isEmpty())
        return std::nullopt;
    std::optional<std::pair<std::pair<int, int>, int>> found;
    for (int r = 0; r < BoardPages::Rows; ++r)
        for (int c = 0; c <= MaxC; ++c) {
            const SelectionTable cells = SelectionCells(boardCell, c, r);
            for (int j = 0; j < 3; ++j)
                if (cells[1][size_t(j)] == ch && (!found || j == 1))
                    found = std::pair{std::pair{r, c}, j};
            if (found && found->second == 1)
                return found;
        }
    return found;
}

// The first screen's scan tree, with `strip` offered ahead of the board (or after it).
inline ScanNode boardTree(const Layout &layout, std::vector<ScanNode> strip = {}, double likely = 1,
                          CallPlace place = CallPlace::Program, std::vector<ScanNode> next = {})
{
    ScanLayouts::Table board;
    for (int r = 0; r < BoardPages::Rows; ++r) {
        auto &row = board.emplace_back();
        for (int c = 0; c <= MaxC; ++c)
            row.push_back({boardCell(r, c), r * 100 + c});
    }
    std::vector<ScanNode> groups =
        layout.columnFirst ? ScanLayouts::byColumnsFromRight(board) : ScanLayouts::byRows(board);
    if (layout.columnFirst && layout.blocks)
        groups = ScanLayouts::inBlocks(std::move(groups), 3);
    return withButtons(ScanLayouts::withStrip(std::move(groups), std::move(strip), likely, std::move(next)),
                       place);
}

// Steps to enter `ch` (first screen, then selection screen); -1 when the hiragana board lacks it.
inline int stepsForCharacter(const Layout &layout, const QString &ch, std::vector<ScanNode> before = {},
                             double likely = 1, CallPlace place = CallPlace::Program,
                             std::vector<ScanNode> next = {})
{
    const auto where = route(ch);
    if (!where)
        return -1;
    const auto [cell, column] = *where;
    const auto [r, c] = cell;
    Scanner s(Scanner::Method::Step);
    s.setTree(boardTree(layout, std::move(before), likely, place, std::move(next)), 0);
    int steps = stepsTo(s, r * 100 + c);

    const SelectionTable cells = SelectionCells(boardCell, c, r);
    ScanLayouts::Table selection;
    for (int i = 0; i < 3; ++i) {
        auto &row = selection.emplace_back();
        for (int j = 0; j < 3; ++j)
            row.push_back({cells[size_t(i)][size_t(j)], i * 3 + j});
    }
    std::vector<ScanNode> top = ScanLayouts::selectionScreen(selection, layout.pickFirst);
    top.push_back(ScanNode::group(QStringLiteral("buttons"),
                                  {ScanNode::leaf("space", 90), ScanNode::leaf("back", 91)}));
    withCall(top, place);
    s.setTree(ScanNode::group(QString(), std::move(top)));
    return steps + stepsTo(s, 3 + column);
}

} // namespace ScanCount
