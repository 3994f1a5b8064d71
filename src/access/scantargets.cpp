#include "access/scantargets.h"

#include "access/accesssettings.h"
#include "access/scanlayouts.h"
#include "platform/buttonaccessible.h"
#include "platform/controls.h"
#include "platform/coverwatch.h"
#include "platform/grid.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QListWidget>
#include <QScrollBar>
#include <algorithm>

namespace {

bool showing(const QWidget *w)
{
    return w && w->isVisible() && w->isEnabled() && !IsCovered(w);
}

QString labelOf(const QWidget *w)
{
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return ButtonAccessible::nameOf(b);
    if (!w->accessibleName().isEmpty())
        return w->accessibleName();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    return w->objectName();
}

// What a control holds now, said after its name: a choice's value, a check box's state.
QString valueOf(const QWidget *w)
{
    if (auto *c = qobject_cast<const QComboBox *>(w))
        return QStringLiteral("、") + c->currentText();
    if (auto *l = qobject_cast<const QListWidget *>(w))
        return l->currentItem() ? QStringLiteral("、") + l->currentItem()->text() : QString();
    if (auto *b = qobject_cast<const QAbstractButton *>(w); b && b->isCheckable())
        return b->isChecked() ? QStringLiteral("、オン") : QStringLiteral("、オフ");
    return {};
}

class Builder
{
public:
    explicit Builder(ScanScreen &screen) : m_screen(screen) {}

    ScanNode control(QWidget *w, bool repeats = false)
    {
        m_screen.targets.push_back({w, -1, -1, repeats});
        return ScanNode::leaf(labelOf(w), int(m_screen.targets.size()) - 1, repeats);
    }

    // The showing controls of a group, as a group (or the one control alone).
    void group(std::vector<ScanNode> &to, const QString &label, std::initializer_list<QWidget *> controls,
               bool repeats = false)
    {
        std::vector<ScanNode> members;
        for (QWidget *w : controls)
            if (showing(w))
                members.push_back(control(w, repeats));
        ScanLayouts::appendGroup(to, label, std::move(members));
    }

    ScanLayouts::Table cells(Grid *g, int firstRow, int lastRow)
    {
        ScanLayouts::Table table;
        for (int r = firstRow; r <= lastRow; ++r) {
            auto &row = table.emplace_back();
            for (int c = 0; c < g->cols(); ++c) {
                m_screen.targets.push_back({g, r, c, false});
                row.push_back({g->textMatrix(r, c), int(m_screen.targets.size()) - 1});
            }
        }
        return table;
    }

private:
    ScanScreen &m_screen;
};

// The rows of a list that show, as one group.
void listRows(Builder &b, std::vector<ScanNode> &to, Grid *g)
{
    int first = -1, last = -1;
    for (int r = 0; r < g->rows(); ++r) {
        if (g->cellRect(r, 0).isEmpty())
            continue;
        if (first < 0)
            first = r;
        last = r;
    }
    if (first < 0)
        return;
    // A row is pressed at its last column, where every list shows its text.
    ScanLayouts::Table table = b.cells(g, first, last);
    std::vector<ScanNode> rows;
    for (auto &row : table) {
        QString text;
        for (const auto &cell : row)
            text += cell.text;
        if (!text.trimmed().isEmpty())
            rows.push_back(ScanNode::leaf(text, row.back().target));
    }
    ScanLayouts::appendGroup(to, g->accessibleName(), std::move(rows));
}

void mainWindow(const ScanControls &w, const TalkState &state, const AccessSettings &settings,
                ScanScreen &screen)
{
    Builder b(screen);
    std::vector<ScanNode> top;
    std::vector<ScanNode> call;
    b.group(call, QString(), {w.cmdCall});
    if (state.selectionOpen()) {
        screen.kind = QStringLiteral("selection");
        // Under the call's cover its cells are not there to press, by the dwell either.
        if (!w.grdBoard2->covered())
            top = ScanLayouts::selectionScreen(b.cells(w.grdBoard2, 0, w.grdBoard2->rows() - 1),
                                               settings.pickFirst);
        b.group(top, QString(), {w.cmdspace, w.cmdEnd2});
    } else {
        // What lies over the board or a list (the widened text area) is told by the one cover test.
        std::vector<ScanNode> strip;
        if (showing(w.fraCand)) {
            std::vector<ScanNode> candidates;
            for (auto *c : w.fraCand->findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly))
                if (showing(c))
                    candidates.push_back(b.control(c));
            ScanLayouts::appendGroup(strip, w.fraCand->accessibleName(), std::move(candidates));
        }
        // The kana likely typed next, which the strip offers at its end.
        std::vector<ScanNode> next;
        if (QWidget *kana = w.fraCand ? w.fraCand->findChild<QWidget *>(QStringLiteral("fraNext")) : nullptr;
            showing(kana)) {
            std::vector<ScanNode> keys;
            for (auto *c : kana->findChildren<QAbstractButton *>(Qt::FindDirectChildrenOnly))
                if (showing(c))
                    keys.push_back(b.control(c));
            ScanLayouts::appendGroup(next, kana->accessibleName(), std::move(keys));
        }
        const QVariant likely = w.fraCand ? w.fraCand->property("likely") : QVariant();
        const ListId shown = state.shownList();
        Grid *list = shown == ListId::None ? nullptr : w.lists[size_t(shown)];
        if (!list && state.screen() == Screen::Board && !w.grdBoard->covered()) {
            screen.kind = QStringLiteral("board");
            const auto table = b.cells(w.grdBoard, 0, w.grdBoard->rows() - 1);
            top = ScanLayouts::withStrip(
                settings.columnFirst ? (settings.columnBlocks
                                            ? ScanLayouts::inBlocks(ScanLayouts::byColumnsFromRight(table), 3)
                                            : ScanLayouts::byColumnsFromRight(table))
                                     : ScanLayouts::byRows(table),
                std::move(strip), likely.isValid() ? likely.toDouble() : 1.0, std::move(next));
        } else {
            top = std::move(strip);
            top.insert(top.end(), std::make_move_iterator(next.begin()), std::make_move_iterator(next.end()));
            if (list && !list->covered()) {
                screen.kind = list->objectName();
                listRows(b, top, list);
            } else {
                screen.kind =
                    state.screen() == Screen::Entry ? QStringLiteral("entry") : QStringLiteral("covered");
            }
            // The keys beside a list or an opened entry, wherever they show: also with the text area
            // widened over the list or the entry.
            b.group(top, QString(), {w.cmdUp, w.cmdDown}, true);
            b.group(top, QString(), {w.cmdDec});
            b.group(top, QString(), {w.cmdRevise, w.cmdBack});
        }
        b.group(top, QString(), {w.cmdRead});
        b.group(top, QString(), {w.cmdRes[2], w.cmdRes[4], w.cmdRes[3], w.cmdRes[0], w.cmdRes[1]}, true);
        b.group(top, QString(), {w.cmdStart, w.cmdSamp, w.cmdSampADD, w.cmdSampDel});
        // The devices key, where the room's devices are set up, is named rather than listed.
        QWidget *devices =
            w.window->findChild<QWidget *>(QStringLiteral("cmdDevices"), Qt::FindDirectChildrenOnly);
        b.group(top, QString(), {w.cmdKey, devices, w.cmdWide, w.cmdCopy, w.cmdPaste, w.cmdOpt, w.cmdEnd});
    }
    ScanLayouts::addCall(top, std::move(call));
    screen.tree = ScanNode::group(QString(), std::move(top));
}

bool pressable(QWidget *w)
{
    if (qobject_cast<QAbstractButton *>(w) || qobject_cast<QComboBox *>(w) || qobject_cast<QListWidget *>(w))
        return true;
    // The mail window's labels are pressed like buttons, and its body's scroll bar pages on.
    return (qobject_cast<ColorLabel *>(w) || qobject_cast<QScrollBar *>(w)) &&
           w->property("pressable").toBool();
}

// A dialog's controls, row by row as they stand.
void dialog(QWidget *d, ScanScreen &screen)
{
    screen.kind = d->objectName();
    Builder b(screen);
    std::vector<QWidget *> controls;
    for (QWidget *w : d->findChildren<QWidget *>())
        if (showing(w) && pressable(w) && w->window() == d)
            controls.push_back(w);
    auto at = [d](const QWidget *w) { return w->mapTo(d, QPoint(0, 0)); };
    std::stable_sort(controls.begin(), controls.end(), [&](const QWidget *x, const QWidget *y) {
        return std::pair(at(x).y(), at(x).x()) < std::pair(at(y).y(), at(y).x());
    });
    std::vector<ScanNode> top;
    std::vector<ScanNode> row;
    // A dialog's call key is offered first, wherever it stands.
    const auto call = std::find_if(controls.begin(), controls.end(), [](const QWidget *w) {
        return w->objectName() == QLatin1String("cmdCall");
    });
    const bool hasCall = call != controls.end();
    if (hasCall) {
        top.push_back(b.control(*call));
        controls.erase(call);
    }
    int rowTop = -1, rowBottom = -1;
    for (QWidget *w : controls) {
        const int y = at(w).y();
        if (rowTop >= 0 && y >= rowBottom) {
            ScanLayouts::appendGroup(top, QString(), std::move(row));
            row.clear();
            rowTop = -1;
        }
        if (rowTop < 0) {
            rowTop = y;
            rowBottom = y + w->height() / 2;
        }
        row.push_back(b.control(w));
    }
    ScanLayouts::appendGroup(top, QString(), std::move(row));
    // A dialog of a single row scans its controls straight away (after the call, when it has one).
    if (top.size() == 2 && hasCall && top.back().isGroup()) {
        std::vector<ScanNode> members = std::move(top.back().children);
        top.pop_back();
        top.insert(top.end(), members.begin(), members.end());
    }
    if (top.size() == 1 && top.front().isGroup())
        top = std::move(top.front().children);
    screen.tree = ScanNode::group(d->accessibleName(), std::move(top));
}

} // namespace

QRect ScanTarget::area() const
{
    if (!widget || !widget->isVisible())
        return {};
    QWidget *window = widget->window();
    if (row >= 0) {
        auto *g = static_cast<Grid *>(widget.data());
        const QRect cell = g->cellRect(row, col);
        return cell.isEmpty() ? QRect() : QRect(g->mapTo(window, cell.topLeft()), cell.size());
    }
    return QRect(widget->mapTo(window, QPoint(0, 0)), widget->size());
}

void ScanTarget::press() const
{
    QWidget *w = widget;
    if (!w || !w->isVisible() || !w->isEnabled())
        return;
    if (row >= 0)
        static_cast<Grid *>(w)->pressCell(row, col);
    else if (auto *b = qobject_cast<QAbstractButton *>(w))
        b->click();
    else if (auto *c = qobject_cast<QComboBox *>(w))
        c->setCurrentIndex((c->currentIndex() + 1) % std::max(1, c->count()));
    else if (auto *l = qobject_cast<QListWidget *>(w)) {
        if (l->count() > 0)
            l->setCurrentRow((l->currentRow() + 1) % l->count());
    } else if (auto *bar = qobject_cast<QScrollBar *>(w))
        // A page on; from the end, back to the start.
        bar->setValue(bar->value() >= bar->maximum() ? bar->minimum() : bar->value() + bar->pageStep());
    else if (auto *l = qobject_cast<ColorLabel *>(w))
        emit l->clicked();
}

int ScanScreen::targetAt(QPoint point) const
{
    for (int i = 0; i < int(targets.size()); ++i)
        if (targets[size_t(i)].area().contains(point))
            return i;
    return -1;
}

QWidget *WindowOnTop(QWidget &main)
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    // A dialog shown over the main window (as tests show them) counts as on top too.
    const auto dialogs = main.findChildren<QDialog *>(Qt::FindDirectChildrenOnly);
    for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it)
        if ((*it)->isVisible())
            return *it;
    return &main;
}

ScanScreen ReadScreen(const ScanControls &main, const TalkState &state, const AccessSettings &settings)
{
    ScanScreen screen;
    QWidget *top = WindowOnTop(*main.window);
    screen.window = top;
    if (top == main.window)
        mainWindow(main, state, settings, screen);
    else
        dialog(top, screen);
    // Identity: the window, the kind, and every target with its text and place.
    QString id = QString::number(quintptr(top)) + screen.kind;
    for (const ScanTarget &t : screen.targets) {
        id += QLatin1Char('|') + QString::number(quintptr(t.widget.data())) + QLatin1Char(',') +
              QString::number(t.row) + QLatin1Char(',') + QString::number(t.col);
        if (t.row >= 0)
            id += static_cast<Grid *>(t.widget.data())->textMatrix(t.row, t.col);
    }
    screen.identity = id;
    return screen;
}

QString ScanScreen::nameOf(const ScanNode &node) const
{
    // A group named by its first member says that member's name as it is now.
    if (node.isGroup())
        return !node.children.empty() && node.label == node.children.front().label
                   ? nameOf(node.children.front())
                   : node.label;
    if (node.target >= int(targets.size()))
        return node.label;
    const ScanTarget &t = targets[size_t(node.target)];
    return t.row < 0 && t.widget ? labelOf(t.widget) + valueOf(t.widget) : node.label;
}

QList<QRect> ScanScreen::areasOf(const ScanNode &node) const
{
    if (!node.isGroup())
        return node.target >= 0 && node.target < int(targets.size())
                   ? QList<QRect>{targets[size_t(node.target)].area()}
                   : QList<QRect>();
    QList<QRect> areas;
    for (const ScanNode &child : node.children)
        areas << areasOf(child);
    // Framed cell by cell, the blank cells of a block's columns would show as holes with frames of their own.
    const bool ofGroups =
        !node.children.empty() && std::all_of(node.children.begin(), node.children.end(),
                                              [](const ScanNode &c) { return c.isGroup(); });
    if (!ofGroups)
        return areas;
    QRect around;
    for (const QRect &r : std::as_const(areas))
        if (!r.isEmpty())
            around |= r;
    return {around};
}
