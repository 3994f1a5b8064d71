#pragma once

#include <QWidget>
#include <array>

class ColorButton;
class ColorFrame;
class ColorLabel;
class Grid;
class TextBox;

// The main window and its controls, in their places, colours and fonts.
// It holds no behaviour: the handlers in board/, text/, modes/ and entries/
// act on these controls, and app/ wires them up.
class TalkWindow final : public QWidget
{
    Q_OBJECT
public:
    static constexpr int CanvasWidth = 15270;  // twips
    static constexpr int CanvasHeight = 11115; // twips
    static constexpr int TitleBarHeight = 465; // twips, for the logical outer height
    static constexpr int MaxTextLength = 500;

    explicit TalkWindow(QWidget *parent = nullptr);

    // The window's outer height in twips, as the text-area arithmetic reads it.
    int heightTwips() const { return CanvasHeight + TitleBarHeight; }

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
