#include "text/keyrepeat.h"

KeyRepeat::KeyRepeat(QObject *parent) : QObject(parent)
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &KeyRepeat::tick);
}

void KeyRepeat::hold(std::function<bool()> step)
{
    keyHeld = true;
    m_step = std::move(step);
    m_timer.stop();
    m_timer.setInterval(m_firstRepeatMs);
    tick();
}

void KeyRepeat::release()
{
    keyHeld = false;
    m_timer.stop();
}

void KeyRepeat::tick()
{
    if (!keyHeld || !m_step || !m_step()) {
        m_timer.stop();
        return;
    }
    if (!m_timer.isActive())
        m_timer.start();
    else
        m_timer.setInterval(IntervalMs);
}
