#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <functional>
#include <vector>

// The cells of a grid: text, background colour and alignment code per cell,
// kept in one block row by row, so that lists of millions of rows load, sort
// and save without a memory block per row. Changes made while the grid is
// batching are announced once, as a reset.
class GridModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Cell
    {
        QString text;
        // The text's first and last characters, kept beside it: a pass over a
        // sorted list reads these without reaching the text, which lies far away.
        char16_t first = 0;
        char16_t last = 0;
        // The background colour (a BGR value or 0x800000nn, a system colour)
        // with the alignment code in bits 24 to 27, which neither kind uses.
        quint32 backAndAlignment = 0xFFFFFF | 1u << 24; // white; left, centred vertically

        quint32 back() const { return backAndAlignment & 0x80FFFFFFu; }
        int alignment() const { return int(backAndAlignment >> 24 & 0x0Fu); }
    };

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    void resize(int rows, int cols);

    const Cell &cell(int row, int col) const { return m_cells[at(row, col)]; }
    void setText(int row, int col, const QString &text);
    // Calls f with the text of each row in a column, in row order; texts that lie
    // anywhere in memory (a sorted list) are fetched ahead, so they come at the
    // pace of texts that lie in order.
    void forEachText(int col, const std::function<void(const QString &)> &f) const;
    // One row for each text, the text in column col and the other cells empty.
    void setColumnTexts(int col, const QStringList &texts);
    // The first character of each row's text in a column (a null character for an empty text).
    QString firstChars(int col) const;
    // The first row from fromRow on whose text in a column, without half-width
    // spaces at either end, is the given text; -1 when none is.
    int findTrimmed(int col, const QString &text, int fromRow = 0) const;
    // Moves one row to another place; the rows between shift by one.
    void moveRow(int from, int to);
    void setBack(int row, int fromCol, int toCol, quint32 bgr);
    void setAlignment(int row, int fromCol, int toCol, int code);
    void setForeColor(quint32 bgr);
    // Every cell white again.
    void clearBacks();
    // Counts every change of the texts or their order, so that a caller can tell its rows are as it left
    // them.
    quint64 textRevision() const { return m_textRevision; }
    // Stable sort of all rows on the texts of columns fromCol..toCol.
    void sortRows(int fromCol, int toCol, bool descending);

    void setBatching(bool batching);

signals:
    // The number of rows or columns changed.
    void resized();

private:
    struct SortKey
    {
        quint64 key; // the first four UTF-16 code units
        quint32 row;
    };

    size_t at(int row, int col) const { return size_t(row) * size_t(m_cols) + size_t(col); }
    // Makes room for a number of cells and a few rows more, so that adding a row moves nothing.
    static void reserveCells(std::vector<Cell> &cells, size_t count, int cols);
    // Lets go of the texts of the cells from one on, fetching ahead.
    void releaseTexts(size_t from);
    void changed(int row, int fromCol, int toCol);
    void reset(const std::function<void()> &change);
    // Applies a change to the cells of one row from fromCol to toCol, within the grid.
    template <typename Change> void changeCells(int row, int fromCol, int toCol, Change change);

    std::vector<Cell> m_cells; // row after row, m_cols cells each
    int m_rows = 0;
    int m_cols = 0;
    quint32 m_fore = 0x000000;
    quint64 m_textRevision = 0;
    bool m_batching = false;
    bool m_dirty = false;
};
