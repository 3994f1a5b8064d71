#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

// A thick frame drawn over a rectangle of a window, above every control of it,
// letting presses through; with a dwell under way, a ring that fills.
class HighlightFrame final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MinWidthPx = 6;

    HighlightFrame();

    // Frames `area` (in `window`'s coordinates) of `window`; an empty area hides the frame.
    void frame(QWidget *window, const QRect &area);
    void setColor(const QColor &color);
    // 0 shows no ring; up to 1 as the dwell fills.
    void setProgress(double progress);

    QRect framed() const { return m_area; }
    QWidget *framedWindow() const { return m_window; }
    int lineWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<QWidget> m_window;
    QRect m_area;
    QColor m_color{0xFF, 0x00, 0xFF};
    double m_progress = 0;
};
