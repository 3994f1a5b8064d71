#pragma once

#include <QPoint>
#include <deque>
#include <optional>
#include <utility>

// Steadies a trembling pointer (a gaze, a head mouse): the place it stands for
// is the mean of where it has been in the last SmoothMs. A jump further than
// JumpPx from that mean (the eye moving to another target) starts it afresh,
// so a real move is followed at once. A pointer that has stood dead still for
// StillMs (a fixation filter, a head mouse's dead zone, a resting hand) is
// where it is: the mean of where it came from never holds it off its target.
class PointerSmoothing
{
public:
    static constexpr int SmoothMs = 400;
    static constexpr int JumpPx = 48;
    static constexpr int StillMs = 100;

    // The pointer is at `point` at `nowMs`; the steadied place.
    QPoint add(QPoint point, qint64 nowMs);
    void reset()
    {
        m_points.clear();
        m_stillSince.reset();
    }

private:
    QPointF mean() const;

    std::deque<std::pair<qint64, QPoint>> m_points;
    QPoint m_stillAt;
    std::optional<qint64> m_stillSince; // since when the pointer has stood at m_stillAt
};
