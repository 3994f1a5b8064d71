#include "platform/speech/figure.h"

#include <QBitmap>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
constexpr int FrameMs = 50;
constexpr int GreetMs = 1800;
constexpr int AwakeMs = 1500; // covers the time a voice takes to start
} // namespace

Figure::Figure(QColor body, QColor face, int size, std::function<bool()> speaking)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint |
                           Qt::WindowDoesNotAcceptFocus | Qt::WindowTransparentForInput),
      m_body(body), m_face(face), m_size(size), m_speaking(std::move(speaking))
{
    setObjectName(QStringLiteral("Genie"));
    setAccessibleName(QStringLiteral("話すキャラクター"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(size * 3 / 4, size);
    m_frames.setInterval(FrameMs);
    connect(&m_frames, &QTimer::timeout, this, &Figure::nextFrame);
    m_clock.start();
    updateMask();
}

void Figure::fitHeight(int pixels)
{
    const int h = std::clamp(pixels, 8, m_size);
    if (h == height())
        return;
    setFixedSize(h * 3 / 4, h);
    updateMask();
    update();
}

void Figure::greet()
{
    m_greetUntil = m_clock.elapsed() + GreetMs;
    wake();
}

void Figure::wake()
{
    m_awakeUntil = std::max(m_awakeUntil, m_clock.elapsed() + AwakeMs);
    if (isVisible() && !m_frames.isActive())
        m_frames.start();
    update();
}

void Figure::nextFrame()
{
    update();
    // Idle, nothing wakes the machine: the last frame drawn shows the figure at rest.
    const bool speaking = m_speaking && m_speaking();
    if (speaking)
        m_awakeUntil = std::max(m_awakeUntil, m_clock.elapsed() + FrameMs * 2);
    else if (m_clock.elapsed() > m_awakeUntil && !greeting())
        m_frames.stop();
}

bool Figure::greeting() const
{
    return m_clock.elapsed() < m_greetUntil;
}

void Figure::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    wake();
    // Where no window manager keeps it on top, it comes up again over the window shown after it.
    QTimer::singleShot(500, this, &QWidget::raise);
}

void Figure::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    m_frames.stop();
}

void Figure::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    if (!m_frames.isActive()) {
        draw(p, 1.0, 0.0, 0.0); // at rest: upright, eyes open, mouth closed
        return;
    }
    const double t = m_clock.elapsed() / 1000.0;
    draw(p, t, std::sin(t * 2.0) * height() * 0.015, greeting() ? std::sin(t * 12.0) * 25.0 : 0.0);
}

void Figure::updateMask()
{
    // The window takes the figure's shape, so it looks right without a compositor too.
    QBitmap mask(size());
    mask.fill(Qt::color0);
    QPainter p(&mask);
    const double reach = height() * 0.015;
    for (double bob : {-reach, 0.0, reach})
        for (double wave : {-25.0, 0.0, 25.0})
            draw(p, 0, bob, wave, true);
    p.end();
    setMask(mask);
}

void Figure::draw(QPainter &p, double t, double bob, double wave, bool silhouette)
{
    const double w = width(), h = height();
    p.save();
    p.translate(0, bob);
    const QColor body = silhouette ? QColor(Qt::color1) : m_body;
    const QColor face = silhouette ? QColor(Qt::color1) : m_face;

    // A wisp of smoke for a body, curling down to a point.
    QPainterPath wisp;
    wisp.moveTo(w * 0.25, h * 0.42);
    wisp.cubicTo(w * 0.10, h * 0.65, w * 0.55, h * 0.70, w * 0.45, h * 0.95);
    wisp.cubicTo(w * 0.75, h * 0.80, w * 0.90, h * 0.60, w * 0.75, h * 0.42);
    wisp.closeSubpath();
    p.setPen(QPen(silhouette ? body : body.darker(140), 2));
    p.setBrush(body);
    p.drawPath(wisp);

    // Arms: one waves while greeting.
    p.setPen(QPen(silhouette ? body : body.darker(120), w * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.28, h * 0.50), QPointF(w * 0.10, h * 0.60));
    p.save();
    p.translate(w * 0.72, h * 0.50);
    p.rotate(-60 + wave);
    p.drawLine(QPointF(0, 0), QPointF(w * 0.22, 0));
    p.restore();

    // Head, eyes, topknot.
    const QRectF head(w * 0.22, h * 0.10, w * 0.56, w * 0.56);
    p.setPen(QPen(silhouette ? face : face.darker(150), 2));
    p.setBrush(face);
    p.drawEllipse(head);
    p.setBrush(body);
    p.drawEllipse(QRectF(w * 0.46, h * 0.03, w * 0.08, h * 0.09));
    if (silhouette) {
        p.restore();
        return;
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 40, 60));
    const double blink = std::fmod(t, 4.0) < 0.15 ? 0.2 : 1.0;
    p.drawEllipse(QRectF(w * 0.36, h * 0.22, w * 0.07, w * 0.09 * blink));
    p.drawEllipse(QRectF(w * 0.57, h * 0.22, w * 0.07, w * 0.09 * blink));

    // The mouth opens and closes while the voice sounds.
    const bool speaking = m_speaking && m_speaking();
    const double open = speaking ? 0.02 + 0.05 * std::fabs(std::sin(t * 18.0)) : 0.012;
    p.setBrush(QColor(150, 40, 50));
    p.drawEllipse(QRectF(w * 0.42, h * 0.34, w * 0.16, h * open + 2));
    p.restore();
}
