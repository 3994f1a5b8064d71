#include "platform/gridmodel.h"

#include "platform/colors.h"

#include <QBrush>
#include <algorithm>

namespace {

constexpr qsizetype MaxShownChars = 2000;

Qt::Alignment alignmentFor(int code)
{
    static const Qt::Alignment horizontal[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    static const Qt::Alignment vertical[] = {Qt::AlignTop, Qt::AlignVCenter, Qt::AlignBottom};
    if (code < 0 || code > 8)
        code = 1;
    return horizontal[code / 3] | vertical[code % 3];
}

} // namespace

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : rows();
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rows() || index.column() >= m_cols)
        return {};
    const Cell &c = cell(index.row(), index.column());
    switch (role) {
    case Qt::DisplayRole:
        // A cell shows at most a few lines' worth; laying out a whole 10 MB sentence costs seconds.
        return c.text.size() > MaxShownChars ? c.text.left(MaxShownChars) + QChar(0x2026) : c.text;
    case Qt::BackgroundRole:
        return QBrush(Colors::fromBgr(c.back));
    case Qt::ForegroundRole:
        return QBrush(Colors::fromBgr(m_fore));
    case Qt::TextAlignmentRole:
        return int(alignmentFor(c.alignment));
    default:
        return {};
    }
}

void GridModel::resize(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    if (!m_batching)
        beginResetModel();
    m_cols = cols;
    m_cells.resize(size_t(rows));
    for (auto &row : m_cells)
        row.resize(size_t(cols));
    if (!m_batching)
        endResetModel();
    else
        m_dirty = true;
}

void GridModel::changed(int row, int fromCol, int toCol)
{
    if (m_batching)
        m_dirty = true;
    else
        emit dataChanged(index(row, fromCol), index(row, toCol));
}

void GridModel::setText(int row, int col, const QString &text)
{
    if (row < 0 || row >= rows() || col < 0 || col >= m_cols)
        return;
    m_cells[size_t(row)][size_t(col)].text = text;
    changed(row, col, col);
}

template <typename Change> void GridModel::changeCells(int row, int fromCol, int toCol, Change change)
{
    if (row < 0 || row >= rows())
        return;
    fromCol = std::max(0, fromCol);
    toCol = std::min(m_cols - 1, toCol);
    for (int c = fromCol; c <= toCol; ++c)
        change(m_cells[size_t(row)][size_t(c)]);
    if (fromCol <= toCol)
        changed(row, fromCol, toCol);
}

void GridModel::setBack(int row, int fromCol, int toCol, quint32 bgr)
{
    changeCells(row, fromCol, toCol, [bgr](Cell &cell) { cell.back = bgr; });
}

void GridModel::setAlignment(int row, int fromCol, int toCol, int code)
{
    changeCells(row, fromCol, toCol, [code](Cell &cell) { cell.alignment = code; });
}

void GridModel::setForeColor(quint32 bgr)
{
    m_fore = bgr;
    if (m_batching)
        m_dirty = true;
    else if (rows() > 0 && m_cols > 0)
        emit dataChanged(index(0, 0), index(rows() - 1, m_cols - 1));
}

void GridModel::sortRows(int fromCol, int toCol, bool descending)
{
    fromCol = std::max(0, fromCol);
    toCol = std::min(m_cols - 1, toCol);
    if (fromCol > toCol)
        return;
    // Ordinal order: QString compares by UTF-16 code unit, case-sensitively.
    auto less = [fromCol, toCol](const std::vector<Cell> &a, const std::vector<Cell> &b) {
        for (int c = fromCol; c <= toCol; ++c) {
            const int cmp = QString::compare(a[size_t(c)].text, b[size_t(c)].text, Qt::CaseSensitive);
            if (cmp != 0)
                return cmp < 0;
        }
        return false;
    };
    if (!m_batching)
        beginResetModel();
    if (descending)
        std::stable_sort(m_cells.begin(), m_cells.end(),
                         [&less](const auto &a, const auto &b) { return less(b, a); });
    else
        std::stable_sort(m_cells.begin(), m_cells.end(), less);
    if (!m_batching)
        endResetModel();
    else
        m_dirty = true;
}

void GridModel::setBatching(bool batching)
{
    if (m_batching == batching)
        return;
    m_batching = batching;
    if (!batching && m_dirty) {
        m_dirty = false;
        beginResetModel();
        endResetModel();
    }
}
