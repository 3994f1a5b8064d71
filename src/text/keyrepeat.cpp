#include "text/keyrepeat.h"

#include "app/talkcontext.h"

KeyRepeat::KeyRepeat(TalkContext &t, QObject *parent) : QObject(parent), m_t(t)
{
    m_timer.setInterval(IntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &KeyRepeat::tick);
}

void KeyRepeat::hold(std::function<bool()> step)
{
    m_step = std::move(step);
    m_timer.stop();
    tick();
}

void KeyRepeat::release()
{
    m_t.keyHeld = false;
    m_timer.stop();
}

void KeyRepeat::tick()
{
    if (!m_t.keyHeld || !m_step || !m_step()) {
        m_timer.stop();
        return;
    }
    if (!m_timer.isActive())
        m_timer.start();
}
