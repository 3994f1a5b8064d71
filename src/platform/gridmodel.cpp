#include "platform/gridmodel.h"

#include "platform/colors.h"
#include "platform/memoryhints.h"

#include <QBrush>
#include <algorithm>
#include <iterator>
#include <limits>

namespace {

constexpr qsizetype MaxShownChars = 2000;
// How many rows ahead a pass over rows lying anywhere in memory asks for them.
constexpr size_t Ahead = 16;

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
        return QBrush(Colors::fromBgr(c.back()));
    case Qt::ForegroundRole:
        return QBrush(Colors::fromBgr(m_fore));
    case Qt::TextAlignmentRole:
        return int(alignmentFor(c.alignment()));
    default:
        return {};
    }
}

void GridModel::reset(const std::function<void()> &change)
{
    ++m_textRevision;
    if (!m_batching)
        beginResetModel();
    change();
    if (!m_batching)
        endResetModel();
    else
        m_dirty = true;
}

void GridModel::reserveCells(std::vector<Cell> &cells, size_t count, int cols)
{
    const size_t room = count + count / 64 + size_t(std::max(cols, 1)) * 16;
    if (cells.capacity() >= room)
        return;
    cells.reserve(room);
    AdviseHugePages(cells.data(), cells.capacity() * sizeof(Cell));
}

void GridModel::releaseTexts(size_t from)
{
    // Each release writes to its text's count of users, which in a sorted list lies anywhere.
    for (size_t i = from; i < m_cells.size(); ++i) {
        if (i + Ahead < m_cells.size())
            Prefetch(m_cells[i + Ahead].text.constData(), true);
        m_cells[i].text = QString();
    }
}

void GridModel::resize(int rows, int cols)
{
    rows = std::max(0, rows);
    cols = std::max(0, cols);
    if (rows == m_rows && cols == m_cols)
        return;
    reset([&] {
        if (cols != m_cols) {
            std::vector<Cell> cells;
            reserveCells(cells, size_t(rows) * size_t(cols), cols);
            cells.resize(size_t(rows) * size_t(cols));
            for (int r = 0; r < std::min(rows, m_rows); ++r)
                for (int c = 0; c < std::min(cols, m_cols); ++c)
                    cells[size_t(r) * size_t(cols) + size_t(c)] = std::move(m_cells[at(r, c)]);
            m_cells.swap(cells);
        } else {
            if (rows > m_rows && size_t(rows) * size_t(cols) > m_cells.capacity()) {
                std::vector<Cell> cells;
                reserveCells(cells, size_t(rows) * size_t(cols), cols);
                std::move(m_cells.begin(), m_cells.end(), std::back_inserter(cells));
                m_cells.swap(cells);
            }
            releaseTexts(size_t(rows) * size_t(cols));
            m_cells.resize(size_t(rows) * size_t(cols));
        }
        m_rows = rows;
        m_cols = cols;
    });
    emit resized();
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
    Cell &cell = m_cells[at(row, col)];
    cell.text = text;
    cell.first = text.isEmpty() ? 0 : text.front().unicode();
    cell.last = text.isEmpty() ? 0 : text.back().unicode();
    ++m_textRevision;
    changed(row, col, col);
}

void GridModel::setColumnTexts(int col, const QStringList &texts)
{
    if (col < 0 || col >= m_cols)
        return;
    reset([&] {
        releaseTexts(0);
        m_cells.clear();
        reserveCells(m_cells, size_t(texts.size()) * size_t(m_cols), m_cols);
        for (qsizetype i = 0; i < texts.size(); ++i) {
            if (i + qsizetype(Ahead) < texts.size())
                Prefetch(texts[i + qsizetype(Ahead)].constData());
            const QString &text = texts[i];
            for (int c = 0; c < m_cols; ++c)
                m_cells.emplace_back();
            Cell &cell = m_cells[m_cells.size() - size_t(m_cols - col)];
            cell.text = text;
            cell.first = text.isEmpty() ? 0 : text.front().unicode();
            cell.last = text.isEmpty() ? 0 : text.back().unicode();
        }
        m_rows = int(texts.size());
    });
    emit resized();
}

QString GridModel::firstChars(int col) const
{
    QString out(m_rows, QChar());
    if (col >= 0 && col < m_cols)
        for (int r = 0; r < m_rows; ++r)
            out[r] = QChar(cell(r, col).first);
    return out;
}

int GridModel::findTrimmed(int col, const QString &text, int fromRow) const
{
    if (col < 0 || col >= m_cols)
        return -1;
    const QChar space(QLatin1Char(' '));
    for (int r = std::max(0, fromRow); r < m_rows; ++r) {
        const Cell &c = cell(r, col);
        // The kept first and last characters decide most rows without reading the text.
        if (c.first != space && c.last != space) {
            if (c.text.size() == text.size() && c.text == text)
                return r;
        } else if (c.text.size() > text.size()) {
            QStringView t(c.text);
            while (!t.isEmpty() && t.front() == space)
                t = t.mid(1);
            while (!t.isEmpty() && t.back() == space)
                t.chop(1);
            if (t == text)
                return r;
        }
    }
    return -1;
}

void GridModel::forEachText(int col, const std::function<void(const QString &)> &f) const
{
    if (col < 0 || col >= m_cols)
        return;
    for (int r = 0; r < m_rows; ++r) {
        if (size_t(r) + Ahead < size_t(m_rows))
            Prefetch(cell(r + int(Ahead), col).text.constData());
        f(cell(r, col).text);
    }
}

void GridModel::moveRow(int from, int to)
{
    if (from < 0 || from >= m_rows || to < 0 || to >= m_rows || from == to)
        return;
    reset([&] {
        const auto row = [this](int r) { return m_cells.begin() + qsizetype(at(r, 0)); };
        if (from > to)
            std::rotate(row(to), row(from), row(from + 1));
        else
            std::rotate(row(from), row(from + 1), row(to + 1));
    });
}

template <typename Change> void GridModel::changeCells(int row, int fromCol, int toCol, Change change)
{
    if (row < 0 || row >= rows())
        return;
    fromCol = std::max(0, fromCol);
    toCol = std::min(m_cols - 1, toCol);
    for (int c = fromCol; c <= toCol; ++c)
        change(m_cells[at(row, c)]);
    if (fromCol <= toCol)
        changed(row, fromCol, toCol);
}

void GridModel::setBack(int row, int fromCol, int toCol, quint32 bgr)
{
    changeCells(row, fromCol, toCol, [bgr](Cell &cell) {
        cell.backAndAlignment = (bgr & 0x80FFFFFFu) | (cell.backAndAlignment & 0x0F000000u);
    });
}

void GridModel::setAlignment(int row, int fromCol, int toCol, int code)
{
    changeCells(row, fromCol, toCol, [code](Cell &cell) {
        const quint32 valid = code >= 0 && code <= 8 ? quint32(code) : 1u;
        cell.backAndAlignment = (cell.backAndAlignment & 0x80FFFFFFu) | valid << 24;
    });
}

void GridModel::setForeColor(quint32 bgr)
{
    m_fore = bgr;
    if (m_batching)
        m_dirty = true;
    else if (rows() > 0 && m_cols > 0)
        emit dataChanged(index(0, 0), index(rows() - 1, m_cols - 1));
}

void GridModel::clearBacks()
{
    for (Cell &cell : m_cells)
        cell.backAndAlignment = (cell.backAndAlignment & 0x0F000000u) | 0xFFFFFFu;
    if (m_batching)
        m_dirty = true;
    else if (m_rows > 0 && m_cols > 0)
        emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
}

void GridModel::sortRows(int fromCol, int toCol, bool descending)
{
    fromCol = std::max(0, fromCol);
    toCol = std::min(m_cols - 1, toCol);
    if (fromCol > toCol)
        return;
    // Ordinal order: QString compares by UTF-16 code unit, case-sensitively.
    const auto compare = [&](quint32 a, quint32 b) {
        for (int c = fromCol; c <= toCol; ++c) {
            const int cmp = QString::compare(cell(int(a), c).text, cell(int(b), c).text, Qt::CaseSensitive);
            if (cmp != 0)
                return descending ? -cmp : cmp;
        }
        return 0;
    };
    // Rows are ordered by the first characters of their text, read once in the
    // order the rows lie in memory; only rows that begin alike compare whole texts.
    std::vector<SortKey> keys;
    keys.reserve(size_t(m_rows));
    AdviseHugePages(keys.data(), keys.capacity() * sizeof(SortKey));
    for (int r = 0; r < m_rows; ++r) {
        if (size_t(r) + Ahead < size_t(m_rows))
            Prefetch(cell(r + int(Ahead), fromCol).text.constData());
        const Cell &c = cell(r, fromCol);
        quint64 key = 0;
        for (qsizetype i = 0; i < 4; ++i)
            key = key << 16 | (i < c.text.size() ? c.text[i].unicode() : 0);
        keys.push_back({descending ? ~key : key, quint32(r)});
    }
    const auto byKey = [](const SortKey &a, const SortKey &b) {
        return a.key < b.key || (a.key == b.key && a.row < b.row);
    };
    // A list saved by the program comes back in order: nothing to move.
    bool ordered = true;
    for (size_t i = 1; i < keys.size() && ordered; ++i)
        ordered = keys[i - 1].key < keys[i].key ||
                  (keys[i - 1].key == keys[i].key && compare(keys[i - 1].row, keys[i].row) <= 0);
    if (ordered)
        return;
    // Or in a few ordered runs (rows that sort above the menu rows kept first,
    // sentences added at the end): those are merged, and their rows shift in
    // blocks; any other order is sorted, and its rows gathered anew.
    constexpr size_t MaxRuns = 16;
    std::vector<size_t> runEnds;
    for (size_t i = 1; i < keys.size() && runEnds.size() < MaxRuns; ++i)
        if (keys[i].key < keys[i - 1].key)
            runEnds.push_back(i);
    const bool fewRuns = runEnds.size() < MaxRuns;
    if (fewRuns) {
        runEnds.push_back(keys.size());
        for (size_t k = 1; k < runEnds.size(); ++k)
            std::inplace_merge(keys.begin(), keys.begin() + qsizetype(runEnds[k - 1]),
                               keys.begin() + qsizetype(runEnds[k]), byKey);
    } else {
        std::sort(keys.begin(), keys.end(), byKey);
    }
    for (auto run = keys.begin(); run != keys.end();) {
        auto end = run + 1;
        while (end != keys.end() && end->key == run->key)
            ++end;
        if (end - run > 1)
            std::stable_sort(run, end, [&compare](const SortKey &a, const SortKey &b) {
                return compare(a.row, b.row) < 0;
            });
        run = end;
    }
    const auto row = [this](quint32 r) { return m_cells.begin() + qsizetype(at(int(r), 0)); };
    reset([&] {
        if (!fewRuns) {
            // Rows read in any order and written one after another: the reads overlap.
            std::vector<Cell> sorted;
            reserveCells(sorted, m_cells.size(), m_cols);
            for (size_t i = 0; i < keys.size(); ++i) {
                if (i + Ahead < keys.size()) {
                    const char *ahead = reinterpret_cast<const char *>(&*row(keys[i + Ahead].row));
                    Prefetch(ahead);
                    Prefetch(ahead + sizeof(Cell) * size_t(m_cols) - 1);
                }
                std::move(row(keys[i].row), row(keys[i].row) + m_cols, std::back_inserter(sorted));
            }
            m_cells.swap(sorted);
            return;
        }
        // Each row goes where it belongs, following the cycles of the order.
        std::vector<Cell> held(static_cast<size_t>(m_cols));
        constexpr quint32 Placed = std::numeric_limits<quint32>::max();
        for (quint32 start = 0; start < quint32(m_rows); ++start) {
            if (keys[start].row == Placed || keys[start].row == start)
                continue;
            std::move(row(start), row(start) + m_cols, held.begin());
            quint32 to = start;
            for (;;) {
                const quint32 from = keys[to].row;
                keys[to].row = Placed;
                if (from == start) {
                    std::move(held.begin(), held.end(), row(to));
                    break;
                }
                std::move(row(from), row(from) + m_cols, row(to));
                to = from;
            }
        }
    });
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
