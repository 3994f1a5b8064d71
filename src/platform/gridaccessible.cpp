#include "platform/gridaccessible.h"

#include "platform/grid.h"

namespace {

class CellAccessible final : public QAccessibleInterface, public QAccessibleActionInterface
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
        const bool showing = isValid() && m_grid->isVisible() && !m_grid->covered() &&
                             !m_grid->cellRect(m_row, m_col).isEmpty();
        s.invisible = !showing;
        s.offscreen = !showing;
        s.disabled = isValid() && !m_grid->isEnabled();
        return s;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid() && m_grid->isVisible() && !m_grid->covered())
            m_grid->pressCell(m_row, m_col);
    }

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
    const std::pair<int, int> cell{index / cols, index % cols};
    auto it = m_cells.constFind(cell);
    if (it == m_cells.constEnd())
        it = m_cells.insert(cell, QAccessible::registerAccessibleInterface(
                                      new CellAccessible(grid(), cell.first, cell.second)));
    return QAccessible::accessibleInterface(*it);
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
    if (grid()->covered()) {
        s.invisible = true;
        s.offscreen = true;
    }
    return s;
}

void GridAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
