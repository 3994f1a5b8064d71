#pragma once

#include <QObject>
#include <QRect>

class Character;
class TalkWindow;

// Keeps the speaking character's figure over the window's top right-hand
// corner, above the widen button, where it covers no typed text: it follows
// the window when it moves and grows with the canvas.
class FigurePlacement final : public QObject
{
    Q_OBJECT
public:
    // Where the figure stands on the canvas, in twips.
    static constexpr QRect CanvasBox{14415, 0, 855, 1140};

    FigurePlacement(TalkWindow *window, Character *character);

    // Puts the figure in its place now.
    void place();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TalkWindow *m_window;
    Character *m_character;
};
