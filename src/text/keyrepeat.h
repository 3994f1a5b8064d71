#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

struct TalkContext;

// Runs a step at once when a button goes down, then about every 0.23 s while
// it is held (keyHeld), until it is released or the step says it has reached a stop.
class KeyRepeat final : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 230;

    KeyRepeat(TalkContext &t, QObject *parent);
    // The step returns false when it has reached a stop.
    void hold(std::function<bool()> step);
    void release();
    bool repeating() const { return m_timer.isActive(); }

private:
    void tick();

    TalkContext &m_t;
    QTimer m_timer;
    std::function<bool()> m_step;
};
