#include "platform/twips.h"

#include <QFont>
#include <QVariant>
#include <QWidget>
#include <cmath>

namespace Twips {

namespace {

const char *const RectProperty = "pirokanTwips";
const char *const FontProperty = "pirokanFontPt";
const char *const ScaleProperty = "pirokanScale";

} // namespace

int toPixels(double twips, double scale)
{
    return int(std::lround(twips * scale / PerPixel));
}

double toTwips(int pixels, double scale)
{
    return pixels * PerPixel / scale;
}

double pointsToPixels(double points, double scale)
{
    // A point is 20 twips.
    return points * 20.0 * scale / PerPixel;
}

double scaleOf(const QWidget *widget)
{
    const QVariant v = widget->window()->property(ScaleProperty);
    return v.isValid() ? v.toDouble() : 1.0;
}

void apply(QWidget *widget)
{
    const double scale = scaleOf(widget);
    const QVariant r = widget->property(RectProperty);
    if (r.isValid()) {
        const QRect t = r.toRect();
        // Edges are converted, not sizes, so neighbouring controls stay flush.
        const int x0 = toPixels(t.left(), scale);
        const int y0 = toPixels(t.top(), scale);
        const int x1 = toPixels(double(t.left()) + t.width(), scale);
        const int y1 = toPixels(double(t.top()) + t.height(), scale);
        widget->setGeometry(x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0));
    }
    const QVariant f = widget->property(FontProperty);
    if (f.isValid()) {
        QFont font = widget->font();
        font.setPixelSize(std::max(1, int(std::lround(pointsToPixels(f.toDouble(), scale)))));
        widget->setFont(font);
    }
    if (auto *aware = dynamic_cast<ScaleAware *>(widget))
        aware->rescaled();
}

void setRect(QWidget *widget, const QRect &twips)
{
    widget->setProperty(RectProperty, twips);
    apply(widget);
}

void setRect(QWidget *widget, int left, int top, int width, int height)
{
    setRect(widget, QRect(left, top, width, height));
}

QRect rect(const QWidget *widget)
{
    const QVariant r = widget->property(RectProperty);
    if (r.isValid())
        return r.toRect();
    const double scale = scaleOf(widget);
    const QRect g = widget->geometry();
    return QRect(int(toTwips(g.x(), scale)), int(toTwips(g.y(), scale)), int(toTwips(g.width(), scale)),
                 int(toTwips(g.height(), scale)));
}

void setHeight(QWidget *widget, int height)
{
    QRect r = rect(widget);
    r.setHeight(height);
    setRect(widget, r);
}

void setLeft(QWidget *widget, int left)
{
    QRect r = rect(widget);
    r.moveLeft(left);
    setRect(widget, r);
}

void move(QWidget *widget, int left, int top)
{
    QRect r = rect(widget);
    r.moveTo(left, top);
    setRect(widget, r);
}

void setFontPoints(QWidget *widget, double points)
{
    widget->setProperty(FontProperty, points);
    apply(widget);
}

double fontPoints(const QWidget *widget)
{
    return widget->property(FontProperty).toDouble();
}

void sizeDialog(QWidget *dialog, QWidget *parent, int width, int height)
{
    if (parent)
        setScale(dialog, scaleOf(parent));
    const double scale = scaleOf(dialog);
    dialog->setFixedSize(toPixels(width, scale), toPixels(height, scale));
}

void setScale(QWidget *window, double scale)
{
    window->setProperty(ScaleProperty, scale);
    apply(window);
    const auto children = window->findChildren<QWidget *>();
    for (QWidget *child : children) {
        if (child->window() == window)
            apply(child);
    }
}

} // namespace Twips
