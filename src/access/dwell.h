#pragma once

#include <QRect>
#include <QtGlobal>
#include <deque>
#include <optional>
#include <utility>

// Dwell selection: a pointer resting on a target for the dwell time presses it.
// A trembling pointer (a gaze, a head mouse) is tolerated: the dwell stays on
// the target the pointer has mostly been over in the last ToleranceMs, so short
// slips onto a neighbour neither cancel it nor start one there, and it counts
// from when the pointer came onto the target. It presses only while the pointer
// is on the target. Moving off for good cancels. After a press the same target
// is not pressed again until the pointer has left it, except a repeating key,
// which goes on at the repeat rate (its first repeat after the first-repeat
// delay) while the pointer stays.
class Dwell
{
public:
    static constexpr int DefaultMs = 1000;
    static constexpr int RepeatMs = 230;
    static constexpr int ToleranceMs = 400;

    explicit Dwell(int dwellMs = DefaultMs, int firstRepeatMs = RepeatMs)
        : m_dwellMs(dwellMs), m_firstRepeatMs(firstRepeatMs)
    {}

    void setDwellMs(int ms) { m_dwellMs = ms; }
    void setFirstRepeatMs(int ms) { m_firstRepeatMs = ms; }

    // The pointer is over `target` (-1: over none) at `nowMs`; the target to press now, if any.
    std::optional<int> sample(int target, bool repeats, qint64 nowMs);
    // Forgets where the pointer has been, as when the targets are new.
    void reset();

    // The target the dwell is on; -1 for none.
    int target() const { return m_target; }
    // How far the dwell on the current target has come, 0 to 1; 0 once it has pressed.
    double progress(qint64 nowMs) const;
    // In how many ms the target presses (again) if the pointer stays on it; none when it will not.
    std::optional<qint64> nextPressIn(qint64 nowMs) const;
    // How long the pointer rested on the last target it left without pressing it, once; the timing that
    // follows the user learns from it how long the user looks at keys.
    std::optional<qint64> takeRest() { return std::exchange(m_rest, std::nullopt); }

private:
    // The pointer was over `target` from `fromMs` until the next visit began.
    struct Visit
    {
        int target;
        qint64 fromMs;
    };
    int mostlyOver(qint64 nowMs) const;

    int m_dwellMs;
    int m_firstRepeatMs;
    std::deque<Visit> m_visits;
    int m_target = -1;
    qint64 m_since = 0;
    std::optional<qint64> m_lastPress;
    int m_presses = 0;
    bool m_repeats = false; // the target is a repeating key
    std::optional<qint64> m_rest;
};

// Where a dwell pressed, on the screen, until the pointer leaves it: a press
// that changes what is there (the strip's keys, the selection screen over the
// board, a dialog opened or closed) must not press what comes under a pointer
// held still. A key that comes under the pointer but does not lie over the
// place of the press (the pointer went to it) presses as usual.
class DwellSpot
{
public:
    // A press of what covers `area`, with the pointer at `at`.
    void pressed(QRect area, QPoint at) { m_spot = Spot{area, at}; }
    // Whether the pointer at `at`, over a target covering `target` (none: over no target), is still held
    // off; once it is not, the spot is forgotten.
    bool holdsOff(QPoint at, std::optional<QRect> target);

private:
    struct Spot
    {
        QRect area;
        QPoint at;
    };
    std::optional<Spot> m_spot;
};
