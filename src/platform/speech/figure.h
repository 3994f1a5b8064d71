#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <functional>

class QPainter;

// Our speaking character's figure: a small genie drawn in code, in a frameless
// window that stays on top and never takes the keyboard focus. It greets,
// moves its mouth while the voice sounds, and floats gently otherwise.
class Figure final : public QWidget
{
    Q_OBJECT
public:
    Figure(QColor body, QColor face, int size, std::function<bool()> speaking);

    void greet();
    // Moves for a while, and for as long as the voice sounds; otherwise it is a still picture.
    void wake();
    bool greeting() const;
    // As tall as the character file says, or these pixels where that is less.
    void fitHeight(int pixels);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private slots:
    void nextFrame();

private:
    void draw(QPainter &p, double t, double bob, double wave, bool silhouette = false);
    void updateMask();

    QColor m_body, m_face;
    int m_size; // the tallest it is drawn, in pixels
    std::function<bool()> m_speaking;
    QTimer m_frames;
    QElapsedTimer m_clock;
    qint64 m_greetUntil = 0;
    qint64 m_awakeUntil = 0;
};
