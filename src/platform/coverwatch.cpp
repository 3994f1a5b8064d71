#include "platform/coverwatch.h"

#include "platform/grid.h"

#include <QEvent>

bool IsCovered(const QWidget *widget)
{
    if (!widget || widget->isWindow())
        return false;
    QPoint middle = widget->geometry().center();
    for (const QWidget *w = widget; w->parentWidget() && !w->isWindow(); w = w->parentWidget()) {
        // Cut off by the edge of the frame it lies in (the copy keys below the normal text area).
        if (!w->parentWidget()->rect().contains(middle))
            return true;
        const QObjectList &siblings = w->parentWidget()->children();
        // Children are stacked in this order: the later ones lie in front.
        for (qsizetype i = siblings.indexOf(w) + 1; i < siblings.size(); ++i) {
            const auto *front = qobject_cast<const QWidget *>(siblings[i]);
            if (front && !front->isWindow() && !front->isHidden() &&
                !front->testAttribute(Qt::WA_TransparentForMouseEvents) && front->geometry().contains(middle))
                return true;
        }
        middle = w->parentWidget()->mapToParent(middle);
    }
    return false;
}

CoverWatch::CoverWatch(QWidget *window) : QObject(window), m_window(window)
{
    for (QWidget *w : window->findChildren<QWidget *>())
        w->installEventFilter(this);
    check();
}

bool CoverWatch::eventFilter(QObject *, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::ShowToParent:
    case QEvent::HideToParent:
    case QEvent::Move:
    case QEvent::Resize:
    case QEvent::ZOrderChange:
        check();
        break;
    default:
        break;
    }
    return false;
}

void CoverWatch::check()
{
    for (Grid *g : m_window->findChildren<Grid *>())
        g->updateCovered();
}
