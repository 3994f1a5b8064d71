#pragma once

#include <QColor>
#include <QPointer>
#include <QRegion>
#include <QWidget>

// A thick frame drawn around rectangles of a window, above every control of it,
// letting presses through; with a dwell under way, a ring that fills. Several
// rectangles (the members of a scan group) get one outline that holds them and
// nothing between them.
class HighlightFrame final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int MinWidthPx = 6;

    HighlightFrame();

    // Frames `area` (in `window`'s coordinates) of `window`; an empty area hides the frame.
    void frame(QWidget *window, const QRect &area);
    // Frames each of `areas`; those that touch share one outline.
    void frame(QWidget *window, const QList<QRect> &areas);
    void setColor(const QColor &color);
    // 0 shows no ring; up to 1 as the dwell fills.
    void setProgress(double progress);
    double progress() const { return m_progress; }

    // The rectangle that bounds what is framed, and the rectangles themselves.
    QRect framed() const { return m_region.boundingRect(); }
    QList<QRect> framedAreas() const { return m_areas; }
    QWidget *framedWindow() const { return m_window; }
    int lineWidth() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<QWidget> m_window;
    QList<QRect> m_areas;
    QRegion m_region;
    QColor m_color{0xFF, 0x00, 0xFF};
    double m_progress = 0;
};
