#pragma once

#include "shared/canvas.h"

#include <QWidget>
#include <array>

class ColorButton;
class ColorFrame;
class ColorLabel;
class Grid;
class TextBox;

// The main window's controls, as the window builds them.
struct TalkControls
{
    ColorFrame *fraText;
    TextBox *txtTalk;
    ColorButton *cmdWide;
    ColorButton *cmdCopy;
    ColorButton *cmdPaste;
    Grid *grdBoard;
    ColorFrame *fraSet;
    Grid *grdBoard2;
    ColorButton *cmdspace;
    ColorButton *cmdEnd2;
    Grid *grdEx;
    Grid *grdSp;
    Grid *grdDay;
    Grid *grdAD;
    Grid *grdMail;
    ColorButton *cmdOpt;
    ColorButton *cmdEnd;
    ColorButton *cmdSamp;
    ColorButton *cmdSampADD;
    ColorButton *cmdSampDel;
    ColorFrame *fraRes;
    std::array<ColorButton *, 5> cmdRes; // → ＢＳ ← ↓ ↑
    ColorButton *cmdStart;
    ColorFrame *fraDay;
    ColorButton *cmdRevise;
    ColorButton *cmdBack;
    ColorFrame *fraTalk;
    ColorButton *cmdUp;
    ColorButton *cmdDown;
    ColorButton *cmdDec;
    ColorButton *cmdRead;
    ColorButton *cmdKey;
    ColorLabel *txtHide;
    ColorFrame *fraCand;  // the candidates while typing, over the board when they are on
    ColorButton *cmdCall; // the call for help, in the text area's top-left corner while the call is on
};

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
