#include "platform/controls.h"

#include "platform/buttonaccessible.h"
#include "platform/colors.h"
#include "platform/fonts.h"
#include "platform/twips.h"

#include <QMouseEvent>
#include <QPainter>

ColorButton *makeButton(QWidget *parent, const char *name, const QString &caption, QRect twips, quint32 back,
                        double points, bool bold, int index)
{
    auto *b = new ColorButton(caption, parent, index);
    b->setObjectName(QLatin1String(name));
    if (index >= 0)
        b->setProperty("index", index);
    b->setBackColor(back);
    Fonts::set(b, Fonts::ProportionalGothic, points, bold);
    Twips::setRect(b, twips);
    return b;
}

void setBackground(QWidget *widget, quint32 bgr)
{
    QPalette p = widget->palette();
    p.setColor(QPalette::Window, Colors::fromBgr(bgr));
    widget->setPalette(p);
    widget->setAutoFillBackground(true);
}

void styleDialogControl(QWidget *w, const char *name, QRect twips, quint32 back, double points)
{
    w->setObjectName(QLatin1String(name));
    setBackground(w, back);
    w->setBackgroundRole(QPalette::Window);
    Fonts::set(w, Fonts::ProportionalGothic, points, true);
    Twips::setRect(w, twips);
}

ColorButton::ColorButton(const QString &caption, QWidget *parent, int index)
    : QPushButton(caption, parent), m_index(index)
{
    ButtonAccessible::install();
    // The text box keeps the keyboard focus; buttons are worked by touch and mouse.
    setFocusPolicy(Qt::NoFocus);
    setBackColor(m_back);
}

void ColorButton::setBackColor(quint32 bgr)
{
    m_back = bgr;
    update();
}

void ColorButton::paintEvent(QPaintEvent *)
{
    // Drawn by hand: the back colour always shows, and a caption wider than the
    // button wraps at any character, as narrow buttons need.
    QPainter p(this);
    const QColor back = Colors::fromBgr(m_back);
    p.fillRect(rect(), back);
    const bool down = isDown();
    const QColor light = back.lighter(140), dark = back.darker(160);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(down ? dark : light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(down ? light : dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(!isEnabled() ? QColor(128, 128, 128) : back.lightness() < 100 ? Qt::white : Qt::black);
    p.setFont(font());
    const QRect textRect = rect().adjusted(2, 2, -2, -2).translated(down ? 1 : 0, down ? 1 : 0);
    p.drawText(textRect, Qt::AlignCenter | Qt::TextWrapAnywhere, text());
}

ColorFrame::ColorFrame(QWidget *parent) : QFrame(parent)
{
    setFrameShape(QFrame::NoFrame);
}

void ColorFrame::setBackColor(quint32 bgr)
{
    setBackground(this, bgr);
}

ColorLabel::ColorLabel(const QString &caption, QWidget *parent) : QLabel(caption, parent) {}

void ColorLabel::setBackColor(quint32 bgr)
{
    setBackground(this, bgr);
}

void ColorLabel::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}
