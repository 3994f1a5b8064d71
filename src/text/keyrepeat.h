#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// Runs a step at once when a button goes down, then about every 0.23 s while
// it is held, until it is released or the step says it has reached a stop.
// One for all the held keys: the edit keys and the list keys.
class KeyRepeat final : public QObject
{
    Q_OBJECT
public:
    static constexpr int IntervalMs = 230;

    explicit KeyRepeat(QObject *parent = nullptr);
    // The step returns false when it has reached a stop.
    void hold(std::function<bool()> step);
    void release();
    // The wait before the first repeat (0.23 s unless a slower start is chosen).
    void setFirstRepeatMs(int ms) { m_firstRepeatMs = ms; }
    bool held() const { return keyHeld; }
    bool repeating() const { return m_timer.isActive(); }

private:
    void tick();

    bool keyHeld = false;
    int m_firstRepeatMs = IntervalMs;
    QTimer m_timer;
    std::function<bool()> m_step;
};
