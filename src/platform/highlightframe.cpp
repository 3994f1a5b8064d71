#include "platform/highlightframe.h"

#include "platform/twips.h"

#include <QPainter>
#include <QPainterPath>

HighlightFrame::HighlightFrame() : QWidget(nullptr)
{
    setObjectName(QStringLiteral("highlightFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

int HighlightFrame::lineWidth() const
{
    // At least 6 px at the default size, growing with the canvas.
    const double scale = m_window ? Twips::scaleOf(m_window) : 1.0;
    return std::max(MinWidthPx, int(MinWidthPx * scale + 0.5));
}

void HighlightFrame::frame(QWidget *window, const QRect &area)
{
    frame(window, area.isEmpty() ? QList<QRect>() : QList<QRect>{area});
}

void HighlightFrame::frame(QWidget *window, const QList<QRect> &areas)
{
    m_areas.clear();
    m_region = QRegion();
    for (const QRect &r : areas)
        if (!r.isEmpty()) {
            m_areas << r;
            m_region += r;
        }
    if (!window || m_areas.isEmpty()) {
        hide();
        return;
    }
    if (window != m_window || parentWidget() != window) {
        m_window = window;
        setParent(window);
    }
    const int w = lineWidth();
    setGeometry(m_region.boundingRect().adjusted(-w, -w, w, w).intersected(window->rect()));
    raise();
    show();
    update();
}

void HighlightFrame::setColor(const QColor &color)
{
    m_color = color;
    update();
}

void HighlightFrame::setProgress(double progress)
{
    if (qFuzzyCompare(progress + 1, m_progress + 1))
        return;
    m_progress = progress;
    update();
}

void HighlightFrame::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const int w = lineWidth();
    const QRegion inner = m_region.translated(-pos());
    QRegion outer;
    for (const QRect &r : inner)
        outer += r.adjusted(-w, -w, w, w);
    // The colour band, edged in black and white, stands out on light and dark controls alike.
    QPainterPath innerPath, outerPath;
    innerPath.addRegion(inner);
    outerPath.addRegion(outer);
    innerPath = innerPath.simplified();
    outerPath = outerPath.simplified();
    p.fillPath(outerPath.subtracted(innerPath), m_color);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::black, 1));
    p.drawPath(outerPath.translated(0.5, 0.5));
    p.setPen(QPen(Qt::white, 1));
    p.drawPath(innerPath.translated(-0.5, -0.5));
    if (m_progress > 0 && m_areas.size() == 1) {
        const QRect area = m_areas.front().translated(-pos());
        const int d = std::min({area.width(), area.height(), 24 * w}) / 2;
        const QRect ring(area.center().x() - d / 2, area.center().y() - d / 2, d, d);
        p.setPen(QPen(m_color, w, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(ring, 90 * 16, -int(360 * 16 * m_progress));
    }
}
