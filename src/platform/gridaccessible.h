#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <utility>
#include <vector>

class Grid;

// How assistive tools see a grid: a table walkable by row and column, whose
// cells carry their text, their place, whether the program shows them chosen,
// and a press action that really presses them. A grid that is hidden, or
// covered by another control, is reported as not showing, and so are its cells.
class GridAccessible final : public QAccessibleWidget, public QAccessibleTableInterface
{
public:
    explicit GridAccessible(Grid *grid);
    ~GridAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessible::State state() const override;
    void *interface_cast(QAccessible::InterfaceType type) override;

    // The table.
    QAccessibleInterface *caption() const override { return nullptr; }
    QAccessibleInterface *summary() const override { return nullptr; }
    QAccessibleInterface *cellAt(int row, int column) const override;
    int selectedCellCount() const override;
    QList<QAccessibleInterface *> selectedCells() const override;
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int row) const override;
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override;
    int columnCount() const override;
    int rowCount() const override;
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override;
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override;
    // A row is chosen by pressing it, never by the assistive tool alone.
    bool selectRow(int) override { return false; }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int) override { return false; }
    bool unselectColumn(int) override { return false; }
    void modelChange(QAccessibleTableModelChangeEvent *event) override;

    Grid *grid() const;

    // Makes every grid report itself this way; called once by the grid.
    static void install();
    // Tells assistive tools that these cells were chosen or unchosen.
    static void announceChosen(Grid *grid, const std::vector<std::pair<int, int>> &cells);
    // Tells assistive tools that the grid was covered or shown again.
    static void announceCovered(Grid *grid);

private:
    mutable QHash<std::pair<int, int>, QAccessible::Id> m_cells;
};
