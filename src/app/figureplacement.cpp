#include "app/figureplacement.h"

#include "app/talkwindow.h"
#include "platform/character.h"
#include "platform/twips.h"

#include <QEvent>

FigurePlacement::FigurePlacement(TalkWindow *window, Character *character)
    : QObject(window), m_window(window), m_character(character)
{
    window->installEventFilter(this);
}

void FigurePlacement::place()
{
    const double scale = Twips::scaleOf(m_window);
    const QPoint corner = m_window->mapToGlobal(
        QPoint(Twips::toPixels(CanvasBox.x(), scale), Twips::toPixels(CanvasBox.y(), scale)));
    m_character->fitHeight(Twips::toPixels(CanvasBox.height(), scale));
    m_character->moveTo(corner.x(), corner.y());
}

bool FigurePlacement::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Show:
            // After the window has handled it: a resize changes the canvas's scale first.
            QMetaObject::invokeMethod(this, &FigurePlacement::place, Qt::QueuedConnection);
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
