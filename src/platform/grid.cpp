#include "platform/grid.h"

#include "platform/coverwatch.h"
#include "platform/gridaccessible.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <cmath>

namespace {

constexpr int DefaultColWidth = 960; // twips

// The room a cell's text has: the cell less the style's margins on both sides.
int textRoom(const QWidget *view, int cellWidth)
{
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    return cellWidth - 2 * margin;
}

QFont fitted(QFont font, const QString &text, int room)
{
    if (text.isEmpty() || room <= 0)
        return font;
    for (int i = 0; i < 40 && QFontMetricsF(font).horizontalAdvance(text) > room; ++i) {
        const double shrink = 0.95 * room / QFontMetricsF(font).horizontalAdvance(text);
        if (font.pixelSize() > 0)
            font.setPixelSize(std::max(1, int(font.pixelSize() * std::min(shrink, 0.95))));
        else
            font.setPointSizeF(std::max(1.0, font.pointSizeF() * std::min(shrink, 0.95)));
    }
    return font;
}

// Draws each cell in the font the grid chooses for it.
class CellDelegate final : public QStyledItemDelegate
{
public:
    explicit CellDelegate(Grid *grid) : QStyledItemDelegate(grid), m_grid(grid) {}

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (m_grid->shrinkToFit())
            option->font = fitted(option->font, option->text, textRoom(m_grid, option->rect.width()));
    }

private:
    Grid *m_grid;
};

} // namespace

Grid::Grid(QWidget *parent) : QTableView(parent)
{
    GridAccessible::install();
    setModel(m_model);
    horizontalHeader()->hide();
    verticalHeader()->hide();
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setFrameShape(QFrame::NoFrame);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setCornerButtonEnabled(false);
    setItemDelegate(new CellDelegate(this));
    listen();
    updateBatching();
}

void Grid::listen()
{
    // A reset lays the header out anew; the widths and scroll position are ours.
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyColumnWidths();
        applyTopRow();
    });
    // Cells changed in shape by their owner keep the current cell and the chosen row inside them.
    connect(m_model, &GridModel::resized, this, [this] {
        m_colWidths.resize(size_t(cols()), 0);
        rowsChanged();
    });
}

void Grid::showCells(GridModel *cells)
{
    GridModel *shown = cells ? cells : &m_ownCells;
    if (shown == m_model)
        return;
    // The cells left keep their batching: whoever shows them next sets it, and a
    // reset of millions of rows is not laid out for a view that is going.
    disconnect(m_model, nullptr, this, nullptr);
    m_model = shown;
    setModel(m_model);
    listen();
    m_colWidths.resize(size_t(cols()), 0);
    m_col = std::clamp(m_col, 0, std::max(0, cols() - 1));
    m_colSel = m_col;
    rowsChanged();
    applyColumnWidths();
    updateBatching();
}

void Grid::setRows(int rows)
{
    m_model->resize(rows, m_model->cols()); // resized() keeps the current cell inside
}

void Grid::rowsChanged()
{
    m_row = std::clamp(m_row, 0, std::max(0, rows() - 1));
    if (m_chosen.row >= rows())
        choose({});
}

void Grid::setCols(int cols)
{
    m_model->resize(m_model->rows(), cols);
    if (m_chosen.fromCol >= this->cols())
        choose({});
    m_col = std::clamp(m_col, 0, std::max(0, cols - 1));
    m_colSel = m_col;
    applyColumnWidths();
}

void Grid::setRow(int row)
{
    m_row = row;
    m_colSel = m_col;
}

void Grid::setCol(int col)
{
    m_col = col;
    m_colSel = col;
}

QString Grid::textMatrix(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return {};
    return m_model->cell(row, col).text;
}

void Grid::setTextMatrix(int row, int col, const QString &text)
{
    m_model->setText(row, col, text);
}

void Grid::setColumnTexts(int col, const QStringList &texts)
{
    m_model->setColumnTexts(col, texts);
}

int Grid::findTrimmed(int col, const QString &text, int fromRow) const
{
    return m_model->findTrimmed(col, text, fromRow);
}

void Grid::moveRow(int from, int to)
{
    m_model->moveRow(from, to);
}

bool Grid::covered() const
{
    return IsCovered(this);
}

void Grid::updateCovered()
{
    const bool now = covered();
    if (now == m_coveredSeen)
        return;
    m_coveredSeen = now;
    GridAccessible::announceCovered(this);
}

void Grid::setChosenRow(int row, int fromCol)
{
    choose(row < 0 || row >= rows() ? Chosen() : Chosen{row, std::max(0, fromCol), -1, true});
}

void Grid::setChosenCell(int row, int col)
{
    const bool inside = row >= 0 && row < rows() && col >= 0 && col < cols();
    choose(inside ? Chosen{row, col, col, false} : Chosen());
}

bool Grid::cellChosen(int row, int col) const
{
    const int to = m_chosen.toCol < 0 ? cols() - 1 : m_chosen.toCol;
    return row >= 0 && row == m_chosen.row && col >= m_chosen.fromCol && col <= to && col < cols();
}

void Grid::choose(Chosen chosen)
{
    std::vector<std::pair<int, int>> changed;
    for (int c = 0; c < cols(); ++c) {
        const int to = chosen.toCol < 0 ? cols() - 1 : chosen.toCol;
        const bool now = chosen.row >= 0 && c >= chosen.fromCol && c <= to;
        if (cellChosen(m_chosen.row, c) && !(now && chosen.row == m_chosen.row))
            changed.emplace_back(m_chosen.row, c);
        if (now && !cellChosen(chosen.row, c))
            changed.emplace_back(chosen.row, c);
    }
    const bool rowChanged = m_chosen.wholeRow != chosen.wholeRow || m_chosen.row != chosen.row;
    m_chosen = chosen;
    if (!changed.empty() || rowChanged)
        GridAccessible::announceChosen(this, changed);
}

QString Grid::rowHead(int row) const
{
    if (m_rowHeadColumn < 0)
        return {};
    for (int r = std::min(row, rows() - 1); r >= 0; --r)
        if (const QString head = textMatrix(r, m_rowHeadColumn).trimmed(); !head.isEmpty())
            return head;
    return {};
}

void Grid::setCellBackColor(quint32 bgr)
{
    m_model->setBack(m_row, std::min(m_col, m_colSel), std::max(m_col, m_colSel), bgr);
}

quint32 Grid::cellBackColor(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return 0xFFFFFF;
    return m_model->cell(row, col).back();
}

void Grid::setCellAlignment(int code)
{
    m_model->setAlignment(m_row, std::min(m_col, m_colSel), std::max(m_col, m_colSel), code);
}

int Grid::cellAlignment(int row, int col) const
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return 1;
    return m_model->cell(row, col).alignment();
}

void Grid::setShrinkToFit(bool on)
{
    m_shrinkToFit = on;
    setTextElideMode(on ? Qt::ElideNone : Qt::ElideRight);
    viewport()->update();
}

QFont Grid::cellFont(int row, int col) const
{
    if (!m_shrinkToFit)
        return font();
    return fitted(font(), textMatrix(row, col), textRoom(this, columnWidth(col)));
}

void Grid::setForeColor(quint32 bgr)
{
    m_model->setForeColor(bgr);
}

int Grid::colWidth(int col) const
{
    if (col < 0 || col >= int(m_colWidths.size()))
        return 0;
    return m_colWidths[size_t(col)] > 0 ? m_colWidths[size_t(col)] : DefaultColWidth;
}

void Grid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= int(m_colWidths.size()))
        return;
    m_colWidths[size_t(col)] = std::max(0, twips);
    applyColumnWidths();
}

void Grid::setTopRow(int row)
{
    m_topRow = std::clamp(row, 0, std::max(0, rows() - 1));
    applyTopRow();
}

void Grid::setRedraw(bool on)
{
    m_redraw = on;
    setUpdatesEnabled(on);
    updateBatching();
}

void Grid::setSort(int code)
{
    if (code == SortAscending || code == SortDescending)
        m_model->sortRows(std::min(m_col, m_colSel), std::max(m_col, m_colSel), code == SortDescending);
}

void Grid::updateBatching()
{
    // Bulk changes to a grid that is not drawn are announced once, when it is drawn again.
    m_model->setBatching(!m_redraw || !isVisible());
}

void Grid::rescaled()
{
    // Rows are as high as their font plus a small margin, as the boards are laid out.
    const double scale = Twips::scaleOf(this);
    const double rowTwips = Twips::fontPoints(this) * 20 + 48;
    verticalHeader()->setDefaultSectionSize(std::max(1, int(std::floor(rowTwips * scale / Twips::PerPixel))));
    applyColumnWidths();
    applyTopRow();
}

void Grid::applyColumnWidths()
{
    const double scale = Twips::scaleOf(this);
    for (int c = 0; c < cols(); ++c)
        setColumnWidth(c, Twips::toPixels(colWidth(c), scale));
}

void Grid::applyTopRow()
{
    verticalScrollBar()->setValue(m_topRow);
}

void Grid::mousePressEvent(QMouseEvent *event)
{
    // Only the primary button (or a touch, which arrives as one) presses a cell.
    if (event->button() != Qt::LeftButton) {
        event->accept();
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    m_mouseRow = index.isValid() ? index.row() : -1;
    m_mouseCol = index.isValid() ? index.column() : -1;
    m_pressed = true;
    if (index.isValid()) {
        setRow(index.row());
        setCol(index.column());
    }
    emit mouseDown();
}

void Grid::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_pressed || event->button() != Qt::LeftButton)
        return;
    m_pressed = false;
    if (rect().contains(event->position().toPoint()) ||
        viewport()->rect().contains(event->position().toPoint()))
        emit click();
}

void Grid::pressCell(int row, int col)
{
    if (row < 0 || row >= rows() || col < 0 || col >= cols())
        return;
    m_mouseRow = row;
    m_mouseCol = col;
    setRow(row);
    setCol(col);
    emit mouseDown();
    emit click();
}

QRect Grid::cellRect(int row, int col) const
{
    const QRect r = visualRect(m_model->index(row, col));
    if (!r.isValid() || !viewport()->rect().intersects(r))
        return {};
    return r.translated(viewport()->mapTo(this, QPoint(0, 0)));
}

std::pair<int, int> Grid::cellAt(QPoint point) const
{
    const QModelIndex index = indexAt(viewport()->mapFrom(this, point));
    return index.isValid() ? std::pair{index.row(), index.column()} : std::pair{-1, -1};
}

void Grid::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A quick second press is a second press, not a double click.
    mousePressEvent(event);
}

void Grid::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}

void Grid::showEvent(QShowEvent *event)
{
    QTableView::showEvent(event);
    updateBatching();
}

void Grid::hideEvent(QHideEvent *event)
{
    QTableView::hideEvent(event);
    updateBatching();
}
