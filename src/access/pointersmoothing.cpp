#include "access/pointersmoothing.h"

#include <QLineF>

QPointF PointerSmoothing::mean() const
{
    QPointF sum;
    for (const auto &[at, point] : m_points)
        sum += point;
    return sum / double(m_points.size());
}

QPoint PointerSmoothing::add(QPoint point, qint64 nowMs)
{
    if (!m_stillSince || point != m_stillAt) {
        m_stillAt = point;
        m_stillSince = nowMs;
    } else if (nowMs - *m_stillSince >= StillMs) {
        m_points.clear();
        m_points.emplace_back(nowMs, point);
        return point;
    }
    while (!m_points.empty() && m_points.front().first <= nowMs - SmoothMs)
        m_points.pop_front();
    if (!m_points.empty() && QLineF(mean(), point).length() > JumpPx)
        m_points.clear();
    m_points.emplace_back(nowMs, point);
    return mean().toPoint();
}
