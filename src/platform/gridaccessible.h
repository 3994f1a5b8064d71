#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <utility>

class Grid;

// How assistive tools see a grid: a table whose cells carry their text and a
// press action that really presses them. A grid that is hidden, or covered by
// another control, is reported as not showing, and so are its cells.
class GridAccessible final : public QAccessibleWidget
{
public:
    explicit GridAccessible(Grid *grid);
    ~GridAccessible() override;

    int childCount() const override;
    QAccessibleInterface *child(int index) const override;
    int indexOfChild(const QAccessibleInterface *child) const override;
    QAccessibleInterface *childAt(int x, int y) const override;
    QAccessible::State state() const override;

    Grid *grid() const;

    // Makes every grid report itself this way; called once by the grid.
    static void install();

private:
    mutable QHash<std::pair<int, int>, QAccessible::Id> m_cells;
};
