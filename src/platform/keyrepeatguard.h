#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <utility>

class QKeyEvent;

// An X server repeats a held key as pairs of release and press, and Qt does
// not always mark them as repeats. A held switch must stay one press: a key's
// release is passed on only when no press of that key follows at once.
class KeyRepeatGuard : public QObject
{
public:
    // Watches every key event of the application from now on; install it after
    // every other application-wide filter, so that it sees the keys first.
    explicit KeyRepeatGuard(int windowMs = 30, QObject *parent = nullptr);
    ~KeyRepeatGuard() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void deliver();

    QTimer m_timer;
    QPointer<QObject> m_receiver;
    std::unique_ptr<QKeyEvent> m_release; // held back, waiting to see whether the key is still down
    bool m_delivering = false;
};
