#pragma once

#include "shared/canvas.h"
#include "shared/talkcontrols.h"

#include <QWidget>

// The main window and its controls, in their places, colours and fonts.
// It holds no behaviour: the handlers in board/, text/, modes/, entries/ and
// access/ act on the controls each is given, and app/ wires them up.
class TalkWindow : public QWidget, private TalkControls
{
    Q_OBJECT
public:
    static constexpr int MaxTextLength = 500;

    explicit TalkWindow(QWidget *parent = nullptr);

    // The window's outer height in twips, as the text-area arithmetic reads it.
    int heightTwips() const { return Canvas::OuterHeight; }

    // The controls, for the wiring that hands each subsystem its own.
    const TalkControls &controls() const { return *this; }

    // The call key takes the text area's top-left corner, the text box narrowing
    // beside it; without it the text area is as it always was.
    void showCallKey(bool shown);

signals:
    void activated();
    void closing();

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void nameControls();
};
