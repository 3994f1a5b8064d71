#pragma once

#include <QRect>

class QWidget;

// Places and sizes are given in twips and converted here, and only here.
// Each top-level window carries a scale: 1.0 shows 15 twips per pixel; a
// larger window scales every control and font uniformly.
namespace Twips {

constexpr int PerPixel = 15;

// Logical rectangle of a control, relative to its parent.
void setRect(QWidget *widget, int left, int top, int width, int height);
void setRect(QWidget *widget, const QRect &twips);
QRect rect(const QWidget *widget);
void setHeight(QWidget *widget, int height);
void setLeft(QWidget *widget, int left);
void move(QWidget *widget, int left, int top);

// Font of a control in points, scaled with its window.
void setFontPoints(QWidget *widget, double points);
double fontPoints(const QWidget *widget);

// Scale of the window that holds the widget.
double scaleOf(const QWidget *widget);
// Sets a window's scale and lays every control of it out again.
void setScale(QWidget *window, double scale);
// Applies the stored rectangle and font of one widget at its window's scale.
void apply(QWidget *widget);

// Gives a dialog its parent window's scale and a fixed inner size in twips.
void sizeDialog(QWidget *dialog, QWidget *parent, int width, int height);

int toPixels(double twips, double scale);
double toTwips(int pixels, double scale);
double pointsToPixels(double points, double scale);

// Receives the window's scale after it changed (grids size rows and columns from it).
class ScaleAware
{
public:
    virtual ~ScaleAware() = default;
    virtual void rescaled() = 0;
};

} // namespace Twips
