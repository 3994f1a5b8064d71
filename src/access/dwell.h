#pragma once

#include <QtGlobal>
#include <optional>

// Dwell selection: a pointer resting on a target for the dwell time presses it.
// Moving off cancels. After a press the same target is not pressed again until
// the pointer has left it, except a repeating key, which goes on at the repeat
// rate (its first repeat after the first-repeat delay) while the pointer stays.
class Dwell
{
public:
    static constexpr int DefaultMs = 1000;
    static constexpr int RepeatMs = 230;

    explicit Dwell(int dwellMs = DefaultMs, int firstRepeatMs = RepeatMs)
        : m_dwellMs(dwellMs), m_firstRepeatMs(firstRepeatMs)
    {}

    void setDwellMs(int ms) { m_dwellMs = ms; }
    void setFirstRepeatMs(int ms) { m_firstRepeatMs = ms; }

    // The pointer is over `target` (-1: over none) at `nowMs`; the target to press now, if any.
    std::optional<int> sample(int target, bool repeats, qint64 nowMs);

    int target() const { return m_target; }
    // How far the dwell on the current target has come, 0 to 1; 0 once it has pressed.
    double progress(qint64 nowMs) const;

private:
    int m_dwellMs;
    int m_firstRepeatMs;
    int m_target = -1;
    qint64 m_since = 0;
    std::optional<qint64> m_lastPress;
    int m_presses = 0;
};
