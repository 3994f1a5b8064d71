#include "platform/gridaccessible.h"

#include "platform/grid.h"

#include <QPointer>

namespace {

bool gridShowing(const Grid *grid)
{
    return grid && grid->isVisible() && !grid->covered();
}

class CellAccessible final : public QAccessibleInterface,
                             public QAccessibleActionInterface,
                             public QAccessibleTableCellInterface
{
public:
    CellAccessible(Grid *grid, int row, int col) : m_grid(grid), m_row(row), m_col(col) {}

    bool isValid() const override { return m_grid && m_row < m_grid->rows() && m_col < m_grid->cols(); }
    QObject *object() const override { return nullptr; }
    QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    QAccessibleInterface *focusChild() const override { return nullptr; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QAccessibleInterface *parent() const override { return QAccessible::queryAccessibleInterface(m_grid); }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }

    QString text(QAccessible::Text t) const override
    {
        if (!isValid() || (t != QAccessible::Name && t != QAccessible::Value))
            return {};
        return m_grid->textMatrix(m_row, m_col);
    }
    void setText(QAccessible::Text, const QString &) override {}

    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect r = m_grid->cellRect(m_row, m_col);
        return r.isEmpty() ? QRect() : QRect(m_grid->mapToGlobal(r.topLeft()), r.size());
    }
    QAccessible::Role role() const override { return QAccessible::Cell; }
    QAccessible::State state() const override
    {
        QAccessible::State s;
        const bool showing = isValid() && gridShowing(m_grid) && !m_grid->cellRect(m_row, m_col).isEmpty();
        s.invisible = !showing;
        s.offscreen = !showing;
        s.disabled = isValid() && !m_grid->isEnabled();
        s.selectable = true;
        s.selected = isSelected();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface *>(this);
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface *>(this);
        return nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid() && gridShowing(m_grid))
            m_grid->pressCell(m_row, m_col);
    }

    bool isSelected() const override { return isValid() && m_grid->cellChosen(m_row, m_col); }
    QList<QAccessibleInterface *> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface *> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return m_col; }
    int rowIndex() const override { return m_row; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface *table() const override { return parent(); }

private:
    QPointer<Grid> m_grid;
    int m_row;
    int m_col;
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (auto *grid = qobject_cast<Grid *>(object))
        return new GridAccessible(grid);
    return nullptr;
}

} // namespace

GridAccessible::GridAccessible(Grid *grid) : QAccessibleWidget(grid, QAccessible::Table) {}

GridAccessible::~GridAccessible()
{
    for (const QAccessible::Id id : std::as_const(m_cells))
        QAccessible::deleteAccessibleInterface(id);
}

Grid *GridAccessible::grid() const
{
    return static_cast<Grid *>(widget());
}

int GridAccessible::childCount() const
{
    return grid()->rows() * grid()->cols();
}

QAccessibleInterface *GridAccessible::child(int index) const
{
    const int cols = grid()->cols();
    if (index < 0 || index >= childCount() || cols == 0)
        return nullptr;
    return cellAt(index / cols, index % cols);
}

QAccessibleInterface *GridAccessible::cellAt(int row, int column) const
{
    if (row < 0 || row >= grid()->rows() || column < 0 || column >= grid()->cols())
        return nullptr;
    const std::pair<int, int> cell{row, column};
    auto it = m_cells.constFind(cell);
    if (it == m_cells.constEnd())
        it = m_cells.insert(
            cell, QAccessible::registerAccessibleInterface(new CellAccessible(grid(), row, column)));
    return QAccessible::accessibleInterface(*it);
}

int GridAccessible::rowCount() const
{
    return grid()->rows();
}

int GridAccessible::columnCount() const
{
    return grid()->cols();
}

QList<QAccessibleInterface *> GridAccessible::selectedCells() const
{
    QList<QAccessibleInterface *> cells;
    const int row = grid()->chosenRow();
    for (int c = 0; row >= 0 && c < grid()->cols(); ++c)
        if (grid()->cellChosen(row, c))
            cells << cellAt(row, c);
    return cells;
}

int GridAccessible::selectedCellCount() const
{
    return int(selectedCells().size());
}

QList<int> GridAccessible::selectedRows() const
{
    if (isRowSelected(grid()->chosenRow()))
        return {grid()->chosenRow()};
    return {};
}

int GridAccessible::selectedRowCount() const
{
    return int(selectedRows().size());
}

bool GridAccessible::isRowSelected(int row) const
{
    return grid()->rowChosen(row);
}

QString GridAccessible::rowDescription(int row) const
{
    return grid()->rowHead(row);
}

void GridAccessible::modelChange(QAccessibleTableModelChangeEvent *)
{
    // Cells are known by their place; those beyond the grid's new size go.
    for (auto it = m_cells.begin(); it != m_cells.end();) {
        if (it.key().first >= grid()->rows() || it.key().second >= grid()->cols()) {
            QAccessible::deleteAccessibleInterface(it.value());
            it = m_cells.erase(it);
        } else {
            ++it;
        }
    }
}

void *GridAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TableInterface)
        return static_cast<QAccessibleTableInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

int GridAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    for (auto it = m_cells.constBegin(); it != m_cells.constEnd(); ++it)
        if (QAccessible::accessibleInterface(it.value()) == child)
            return it.key().first * grid()->cols() + it.key().second;
    return -1;
}

QAccessibleInterface *GridAccessible::childAt(int x, int y) const
{
    const auto [row, col] = grid()->cellAt(grid()->mapFromGlobal(QPoint(x, y)));
    return row < 0 ? nullptr : child(row * grid()->cols() + col);
}

QAccessible::State GridAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    if (grid()->isVisible() && grid()->covered()) {
        s.invisible = true;
        s.offscreen = true;
    }
    return s;
}

void GridAccessible::announceChosen(Grid *grid, const std::vector<std::pair<int, int>> &cells)
{
    if (!QAccessible::isActive())
        return;
    QAccessibleInterface *table = QAccessible::queryAccessibleInterface(grid);
    if (!table || !table->tableInterface())
        return;
    QAccessible::State selected;
    selected.selected = true;
    for (const auto &[row, col] : cells) {
        if (QAccessibleInterface *cell = table->tableInterface()->cellAt(row, col)) {
            QAccessibleStateChangeEvent changed(cell, selected);
            QAccessible::updateAccessibility(&changed);
            QAccessibleEvent added(cell, grid->cellChosen(row, col) ? QAccessible::SelectionAdd
                                                                    : QAccessible::SelectionRemove);
            QAccessible::updateAccessibility(&added);
        }
    }
    QAccessibleEvent within(grid, QAccessible::SelectionWithin);
    QAccessible::updateAccessibility(&within);
}

void GridAccessible::announceCovered(Grid *grid)
{
    if (!QAccessible::isActive() || !grid->isVisible())
        return;
    QAccessible::State showing;
    showing.invisible = true;
    showing.offscreen = true;
    QAccessibleStateChangeEvent changed(grid, showing);
    QAccessible::updateAccessibility(&changed);
    QAccessibleEvent shown(grid, grid->covered() ? QAccessible::ObjectHide : QAccessible::ObjectShow);
    QAccessible::updateAccessibility(&shown);
}

void GridAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
