#include "platform/coverwatch.h"

#include "platform/grid.h"

#include <QEvent>

CoverWatch::CoverWatch(QWidget *cover, Grid *covered) : QObject(cover), m_covered(covered)
{
    cover->installEventFilter(this);
    covered->setCovered(cover->isVisible());
}

bool CoverWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show || event->type() == QEvent::Hide)
        m_covered->setCovered(static_cast<QWidget *>(watched)->isVisible());
    return false;
}
