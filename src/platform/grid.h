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

    // Shows cells kept elsewhere (a list the program owns) instead of the grid's
    // own; nullptr goes back to its own. The cells must outlive the grid's use of them.
    void showCells(GridModel *cells);

    int rows() const { return m_model->rows(); }
    void setRows(int rows);
    int cols() const { return m_model->cols(); }
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
    // One row for each text, the text in a column and the other cells empty.
    void setColumnTexts(int col, const QStringList &texts);
    // The first row from fromRow on whose text in a column, without half-width
    // spaces at either end, is the given text; -1 when none is.
    int findTrimmed(int col, const QString &text, int fromRow = 0) const;
    // Moves a row to another place; the rows between shift by one.
    void moveRow(int from, int to);

    void setCellBackColor(quint32 bgr);
    // Every cell white again.
    void clearCellBackColors() { m_model->clearBacks(); }
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
    // Whether another control shown in front of the grid lies over it, so it does not count as showing.
    bool covered() const;
    // Tells assistive tools when the grid has just been covered or uncovered.
    void updateCovered();

    // What the program shows as chosen, told by the program rather than read from
    // colours: a list's marked row (from its first marked column on), or the one
    // board cell being pressed. Assistive tools report these cells as selected.
    // A row or cell of -1 chooses nothing.
    void setChosenRow(int row, int fromCol = 0);
    void setChosenCell(int row, int col);
    int chosenRow() const { return m_chosen.row; }
    bool rowChosen(int row) const { return m_chosen.wholeRow && row >= 0 && row == m_chosen.row; }
    bool cellChosen(int row, int col) const;
    // The column whose texts head the rows (a list's kana-row heads, the diary's dates); -1 for none.
    void setRowHeadColumn(int col) { m_rowHeadColumn = col; }
    // The head of a row: the nearest head text at or above it.
    QString rowHead(int row) const;

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
    struct Chosen
    {
        int row = -1;
        int fromCol = 0;
        int toCol = -1; // -1: to the last column
        bool wholeRow = false;
    };
    void choose(Chosen chosen);
    void rowsChanged();
    void listen();
    void updateBatching();
    void applyColumnWidths();
    void applyTopRow();

    GridModel m_ownCells;
    GridModel *m_model = &m_ownCells; // the cells shown
    std::vector<int> m_colWidths;     // twips; 0 = not set
    int m_row = 0;
    int m_col = 0;
    int m_colSel = 0;
    int m_topRow = 0;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    bool m_redraw = true;
    bool m_pressed = false;
    bool m_shrinkToFit = false;
    bool m_coveredSeen = false;
    Chosen m_chosen;
    int m_rowHeadColumn = -1;
};
