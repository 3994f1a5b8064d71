#include "platform/speech/figure.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {
constexpr int FrameMs = 50;
constexpr int GreetMs = 1800;
} // namespace

Figure::Figure(QColor body, QColor face, int size, std::function<bool()> speaking)
    : QWidget(nullptr,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      m_body(body), m_face(face), m_speaking(std::move(speaking))
{
    setObjectName(QStringLiteral("Genie"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(size * 3 / 4, size);
    m_frames.setInterval(FrameMs);
    connect(&m_frames, &QTimer::timeout, this, qOverload<>(&QWidget::update));
    m_clock.start();
}

void Figure::greet()
{
    m_greetUntil = m_clock.elapsed() + GreetMs;
    update();
}

bool Figure::greeting() const
{
    return m_clock.elapsed() < m_greetUntil;
}

void Figure::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_frames.start();
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
    const double t = m_clock.elapsed() / 1000.0;
    const double w = width(), h = height();
    const double bob = std::sin(t * 2.0) * h * 0.015;
    p.translate(0, bob);

    // A wisp of smoke for a body, curling down to a point.
    QPainterPath body;
    body.moveTo(w * 0.25, h * 0.42);
    body.cubicTo(w * 0.10, h * 0.65, w * 0.55, h * 0.70, w * 0.45, h * 0.95);
    body.cubicTo(w * 0.75, h * 0.80, w * 0.90, h * 0.60, w * 0.75, h * 0.42);
    body.closeSubpath();
    p.setPen(QPen(m_body.darker(140), 2));
    p.setBrush(m_body);
    p.drawPath(body);

    // Arms: one waves while greeting.
    const double wave = greeting() ? std::sin(t * 12.0) * 25.0 : 0.0;
    p.setPen(QPen(m_body.darker(120), w * 0.07, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(w * 0.28, h * 0.50), QPointF(w * 0.10, h * 0.60));
    p.save();
    p.translate(w * 0.72, h * 0.50);
    p.rotate(-60 + wave);
    p.drawLine(QPointF(0, 0), QPointF(w * 0.22, 0));
    p.restore();

    // Head, eyes, topknot.
    const QRectF head(w * 0.22, h * 0.10, w * 0.56, w * 0.56);
    p.setPen(QPen(m_face.darker(150), 2));
    p.setBrush(m_face);
    p.drawEllipse(head);
    p.setBrush(m_body);
    p.drawEllipse(QRectF(w * 0.46, h * 0.03, w * 0.08, h * 0.09));
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
}
