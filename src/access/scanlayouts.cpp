#include "access/scanlayouts.h"

#include <algorithm>

namespace ScanLayouts {

namespace {

void appendCell(std::vector<ScanNode> &to, const Cell &cell)
{
    if (!cell.text.trimmed().isEmpty() && cell.target >= 0)
        to.push_back(ScanNode::leaf(cell.text, cell.target));
}

// A group is named by its first member, as spoken scanning says it.
QString labelOf(const std::vector<ScanNode> &members)
{
    return members.empty() ? QString() : members.front().label;
}

} // namespace

void appendGroup(std::vector<ScanNode> &to, const QString &label, std::vector<ScanNode> members)
{
    if (members.empty())
        return;
    if (members.size() == 1)
        to.push_back(std::move(members.front()));
    else {
        const QString name = label.isEmpty() ? labelOf(members) : label;
        to.push_back(ScanNode::group(name, std::move(members)));
    }
}

void addCall(std::vector<ScanNode> &top, std::vector<ScanNode> call)
{
    top.insert(top.end(), std::make_move_iterator(call.begin()), std::make_move_iterator(call.end()));
}

std::vector<ScanNode> byRows(const Table &table)
{
    std::vector<ScanNode> out;
    for (const auto &row : table) {
        std::vector<ScanNode> cells;
        for (const Cell &cell : row)
            appendCell(cells, cell);
        appendGroup(out, QString(), std::move(cells));
    }
    return out;
}

std::vector<ScanNode> byColumnsFromRight(const Table &table)
{
    size_t cols = 0;
    for (const auto &row : table)
        cols = std::max(cols, row.size());
    std::vector<ScanNode> out;
    for (size_t c = cols; c-- > 0;) {
        std::vector<ScanNode> cells;
        for (const auto &row : table)
            if (c < row.size())
                appendCell(cells, row[c]);
        appendGroup(out, QString(), std::move(cells));
    }
    return out;
}

std::vector<ScanNode> inBlocks(std::vector<ScanNode> groups, int size)
{
    if (size <= 1)
        return groups;
    std::vector<ScanNode> out;
    for (size_t i = 0; i < groups.size(); i += size_t(size)) {
        const size_t end = std::min(groups.size(), i + size_t(size));
        std::vector<ScanNode> block(std::make_move_iterator(groups.begin() + std::ptrdiff_t(i)),
                                    std::make_move_iterator(groups.begin() + std::ptrdiff_t(end)));
        // Named by each member's name (あかさ), so the voice tells a block from its first column.
        QString name;
        for (const ScanNode &n : block)
            name += n.label;
        appendGroup(out, name, std::move(block));
    }
    return out;
}

std::vector<ScanNode> selectionScreen(const Table &table, bool pickFirst)
{
    if (!pickFirst || table.size() < 2 || table[1].size() < 2)
        return byRows(table);
    // The pressed character, then the rest of its row, then the rows above and below: what a switch
    // user wants after a press is nearly always on its own row. Right before left, since the voiced
    // and small forms stand right (が, ゃ) and are wanted far more often than what stands left (ぱ, っ).
    std::vector<ScanNode> out;
    appendCell(out, table[1][1]);
    for (size_t c = table[1].size(); c-- > 0;)
        if (c != 1)
            appendCell(out, table[1][c]);
    Table others = table;
    others.erase(others.begin() + 1);
    std::vector<ScanNode> rows = byRows(others);
    out.insert(out.end(), std::make_move_iterator(rows.begin()), std::make_move_iterator(rows.end()));
    return out;
}

std::vector<ScanNode> withStrip(std::vector<ScanNode> board, std::vector<ScanNode> strip, double likely,
                                std::vector<ScanNode> next)
{
    const bool stripFirst = likely * double(board.size()) > 1 - likely;
    board.insert(board.begin(), std::make_move_iterator(next.begin()), std::make_move_iterator(next.end()));
    std::vector<ScanNode> &front = stripFirst ? strip : board;
    std::vector<ScanNode> &back = stripFirst ? board : strip;
    for (ScanNode &n : back)
        front.push_back(std::move(n));
    return std::move(front);
}

} // namespace ScanLayouts
