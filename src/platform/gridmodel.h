#pragma once

#include <QAbstractTableModel>
#include <vector>

// The cells of a grid: text, background colour and alignment code per cell.
// Changes made while the grid is batching are announced once, as a reset.
class GridModel final : public QAbstractTableModel
{
    Q_OBJECT
public:
    struct Cell
    {
        QString text;
        quint32 back = 0xFFFFFF;
        int alignment = 1; // left, centred vertically
    };

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    int rows() const { return int(m_cells.size()); }
    int cols() const { return m_cols; }
    void resize(int rows, int cols);

    const Cell &cell(int row, int col) const { return m_cells[size_t(row)][size_t(col)]; }
    void setText(int row, int col, const QString &text);
    void setBack(int row, int fromCol, int toCol, quint32 bgr);
    void setAlignment(int row, int fromCol, int toCol, int code);
    void setForeColor(quint32 bgr);
    // Stable sort of all rows on the texts of columns fromCol..toCol.
    void sortRows(int fromCol, int toCol, bool descending);

    void setBatching(bool batching);

private:
    void changed(int row, int fromCol, int toCol);
    // Applies a change to the cells of one row from fromCol to toCol, within the grid.
    template <typename Change> void changeCells(int row, int fromCol, int toCol, Change change);

    std::vector<std::vector<Cell>> m_cells;
    int m_cols = 0;
    quint32 m_fore = 0x000000;
    bool m_batching = false;
    bool m_dirty = false;
};
