#include "access/pressfilter.h"

bool PressFilter::down(qint64 nowMs)
{
    m_downAt.reset();
    if (m_settings.ignoreRepeatMs > 0 && m_lastTaken && nowMs - *m_lastTaken < m_settings.ignoreRepeatMs)
        return false;
    m_downAt = nowMs;
    if (m_settings.holdMs <= 0)
        m_lastTaken = nowMs;
    return true;
}

bool PressFilter::up(qint64 nowMs)
{
    if (!m_downAt)
        return false;
    const qint64 downAt = *m_downAt;
    m_downAt.reset();
    if (m_settings.holdMs <= 0)
        return true;
    if (nowMs - downAt < m_settings.holdMs)
        return false;
    m_lastTaken = nowMs;
    return true;
}

bool PressFilter::instant(qint64 nowMs)
{
    if (m_settings.ignoreRepeatMs > 0 && m_lastTaken && nowMs - *m_lastTaken < m_settings.ignoreRepeatMs)
        return false;
    m_lastTaken = nowMs;
    return true;
}
