#include "access/dwell.h"

#include <algorithm>

std::optional<int> Dwell::sample(int target, bool repeats, qint64 nowMs)
{
    if (target != m_target) {
        m_target = target;
        m_since = nowMs;
        m_lastPress.reset();
        m_presses = 0;
        return std::nullopt;
    }
    if (target < 0)
        return std::nullopt;
    if (!m_lastPress) {
        if (nowMs - m_since < m_dwellMs)
            return std::nullopt;
    } else {
        const int wait = m_presses == 1 ? m_firstRepeatMs : RepeatMs;
        if (!repeats || nowMs - *m_lastPress < wait)
            return std::nullopt;
    }
    m_lastPress = nowMs;
    ++m_presses;
    return target;
}

double Dwell::progress(qint64 nowMs) const
{
    if (m_target < 0 || m_lastPress || m_dwellMs <= 0)
        return 0.0;
    return std::clamp(double(nowMs - m_since) / m_dwellMs, 0.0, 1.0);
}
