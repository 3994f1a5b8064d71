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
    if (!window || area.isEmpty()) {
        m_area = QRect();
        hide();
        return;
    }
    if (window != m_window || parentWidget() != window) {
        m_window = window;
        setParent(window);
    }
    m_area = area;
    const int w = lineWidth();
    setGeometry(area.adjusted(-w, -w, w, w).intersected(window->rect()));
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
    const QRect inner = m_area.translated(-pos());
    // The colour band, edged in black and white, stands out on light and dark controls alike.
    QPainterPath band;
    band.addRect(inner.adjusted(-w, -w, w, w));
    band.addRect(inner);
    p.fillPath(band, m_color);
    p.setPen(QPen(Qt::black, 1));
    p.drawRect(inner.adjusted(-w, -w, w - 1, w - 1));
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(inner.adjusted(0, 0, -1, -1));
    if (m_progress > 0) {
        const int d = std::min({inner.width(), inner.height(), 24 * w}) / 2;
        const QRect ring(inner.center().x() - d / 2, inner.center().y() - d / 2, d, d);
        p.setPen(QPen(m_color, w, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(ring, 90 * 16, -int(360 * 16 * m_progress));
    }
}
