#pragma once

#include "platform/gridmodel.h"
#include "platform/twips.h"

#include <QTableView>
#include <utility>
#include <vector>

// The grid control: a table of text cells worked through current cell and
// selection, as every board and list of the program uses it.
class Grid final : public QTableView, public Twips::ScaleAware
{
    Q_OBJECT
public:
    enum SortCode { SortAscending = 7, SortDescending = 8 };
    enum Alignment { CenterBottom = 5 };

    explicit Grid(QWidget *parent);

    int rows() const { return m_model.rows(); }
    void setRows(int rows);
    int cols() const { return m_model.cols(); }
    void setCols(int cols);

    int row() const { return m_row; }
    void setRow(int row);
    int col() const { return m_col; }
    void setCol(int col);
    // Extends the selection from the current cell along its row.
    void setColSel(int col) { m_colSel = col; }
    int colSel() const { return m_colSel; }

    QString text() const { return textMatrix(m_row, m_col); }
    void setText(const QString &text) { setTextMatrix(m_row, m_col, text); }
    QString textMatrix(int row, int col) const;
    void setTextMatrix(int row, int col, const QString &text);

    void setCellBackColor(quint32 bgr);
    quint32 cellBackColor(int row, int col) const;
    void setCellAlignment(int code);
    int cellAlignment(int row, int col) const;
    void setForeColor(quint32 bgr);

    int colWidth(int col) const;
    void setColWidth(int col, int twips);

    int topRow() const { return m_topRow; }
    void setTopRow(int row);

    void setRedraw(bool on);

    void setSort(int code);

    // A cell whose text is wider than its column is drawn in a smaller font,
    // so that the whole text shows (the boards); otherwise it is cut short.
    void setShrinkToFit(bool on);
    bool shrinkToFit() const { return m_shrinkToFit; }
    // The font a cell is drawn in.
    QFont cellFont(int row, int col) const;

    int mouseRow() const { return m_mouseRow; }
    int mouseCol() const { return m_mouseCol; }

    // Presses a cell as a touch on it does: mouse-down, then click, both seeing the cell.
    void pressCell(int row, int col);
    // A cell's rectangle in the grid's coordinates; empty when it is scrolled out of view.
    QRect cellRect(int row, int col) const;
    // The cell at a point of the grid, or {-1, -1}.
    std::pair<int, int> cellAt(QPoint point) const;
    // Whether another control lies over the whole grid, so it does not count as showing.
    void setCovered(bool covered) { m_covered = covered; }
    bool covered() const { return m_covered; }

    void rescaled() override;

signals:
    void mouseDown();
    void click();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void updateBatching();
    void applyColumnWidths();
    void applyTopRow();

    GridModel m_model;
    std::vector<int> m_colWidths; // twips; 0 = not set
    int m_row = 0;
    int m_col = 0;
    int m_colSel = 0;
    int m_topRow = 0;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    bool m_redraw = true;
    bool m_pressed = false;
    bool m_shrinkToFit = false;
    bool m_covered = false;
};
