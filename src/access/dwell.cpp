#include "access/dwell.h"

#include <algorithm>
#include <vector>

void Dwell::reset()
{
    m_visits.clear();
    m_target = -1;
    m_lastPress.reset();
    m_presses = 0;
    m_rest.reset();
}

int Dwell::mostlyOver(qint64 nowMs) const
{
    const qint64 windowStart = nowMs - ToleranceMs;
    std::vector<std::pair<int, qint64>> time; // target, ms over it within the window
    for (size_t i = 0; i < m_visits.size(); ++i) {
        const qint64 from = std::max(m_visits[i].fromMs, windowStart);
        const qint64 to = i + 1 < m_visits.size() ? m_visits[i + 1].fromMs : nowMs;
        auto it = std::find_if(time.begin(), time.end(),
                               [&](const auto &t) { return t.first == m_visits[i].target; });
        if (it == time.end())
            it = time.insert(time.end(), {m_visits[i].target, 0});
        it->second += std::max<qint64>(0, to - from);
    }
    qint64 most = 0;
    for (const auto &t : time)
        most = std::max(most, t.second);
    auto has = [&](int target) {
        return std::any_of(time.begin(), time.end(),
                           [&](const auto &t) { return t.first == target && t.second == most; });
    };
    // On a tie the dwell stays where it is, or goes where the pointer has been last.
    if (has(m_target))
        return m_target;
    for (auto it = m_visits.rbegin(); it != m_visits.rend(); ++it)
        if (has(it->target))
            return it->target;
    return m_visits.back().target;
}

std::optional<int> Dwell::sample(int target, bool repeats, qint64 nowMs)
{
    if (m_visits.empty() || m_visits.back().target != target)
        m_visits.push_back({target, nowMs});
    // Only the visits that reach into the window count.
    while (m_visits.size() > 1 && m_visits[1].fromMs <= nowMs - ToleranceMs)
        m_visits.pop_front();

    const int over = mostlyOver(nowMs);
    if (over != m_target) {
        const int left = m_target;
        const qint64 leftSince = m_since;
        m_target = over;
        // The dwell counts from the first visit still in the window.
        m_since = nowMs;
        for (const Visit &v : m_visits)
            if (v.target == over) {
                m_since = v.fromMs;
                break;
            }
        if (left >= 0 && !m_lastPress)
            m_rest = m_since - leftSince;
        m_lastPress.reset();
        m_presses = 0;
    }
    if (m_target < 0 || target != m_target)
        return std::nullopt;
    m_repeats = repeats;
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

std::optional<qint64> Dwell::nextPressIn(qint64 nowMs) const
{
    if (m_target < 0)
        return std::nullopt;
    if (!m_lastPress)
        return m_since + m_dwellMs - nowMs;
    if (!m_repeats)
        return std::nullopt;
    return *m_lastPress + (m_presses == 1 ? m_firstRepeatMs : RepeatMs) - nowMs;
}

bool DwellSpot::holdsOff(QPoint at, std::optional<QRect> target)
{
    if (m_spot && (!m_spot->area.contains(at) || (target && !target->contains(m_spot->at))))
        m_spot.reset();
    return m_spot.has_value();
}
