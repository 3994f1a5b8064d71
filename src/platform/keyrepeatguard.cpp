#include "platform/keyrepeatguard.h"

#include <QCoreApplication>
#include <QKeyEvent>

KeyRepeatGuard::KeyRepeatGuard(int windowMs, QObject *parent) : QObject(parent)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(windowMs);
    connect(&m_timer, &QTimer::timeout, this, &KeyRepeatGuard::deliver);
    QCoreApplication::instance()->installEventFilter(this);
}

KeyRepeatGuard::~KeyRepeatGuard() = default;

bool KeyRepeatGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (m_delivering || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease))
        return false;
    const auto *key = static_cast<QKeyEvent *>(event);
    if (m_release && key->key() == m_release->key() && event->type() == QEvent::KeyPress) {
        // The key never came up: the pair is the server's repeat, and the hold goes on.
        m_timer.stop();
        m_release.reset();
        m_receiver.clear();
        return true;
    }
    if (m_release)
        deliver(); // another key: the held-back release happened first
    if (event->type() == QEvent::KeyPress || key->isAutoRepeat())
        return false;
    m_release.reset(static_cast<QKeyEvent *>(key->clone()));
    m_receiver = watched;
    m_timer.start();
    return true;
}

void KeyRepeatGuard::deliver()
{
    m_timer.stop();
    const std::unique_ptr<QKeyEvent> release = std::move(m_release);
    const QPointer<QObject> receiver = std::exchange(m_receiver, QPointer<QObject>());
    if (!release || !receiver)
        return;
    m_delivering = true;
    QCoreApplication::sendEvent(receiver, release.get());
    m_delivering = false;
}
