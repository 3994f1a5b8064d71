#pragma once

#include <QPoint>
#include <deque>
#include <utility>

// Steadies a trembling pointer (a gaze, a head mouse): the place it stands for
// is the mean of where it has been in the last SmoothMs. A jump further than
// JumpPx from that mean (the eye moving to another target) starts it afresh,
// so a real move is followed at once.
class PointerSmoothing
{
public:
    static constexpr int SmoothMs = 400;
    static constexpr int JumpPx = 48;

    // The pointer is at `point` at `nowMs`; the steadied place.
    QPoint add(QPoint point, qint64 nowMs);
    void reset() { m_points.clear(); }

private:
    QPointF mean() const;

    std::deque<std::pair<qint64, QPoint>> m_points;
};
