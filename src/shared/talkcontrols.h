#pragma once

#include <array>

class ColorButton;
class ColorFrame;
class ColorLabel;
class Grid;
class TextBox;

// Every control of the main window, once: its type and its objectName. From
// this table TalkControls declares them, the window names them, the scan takes
// them and the tests find them; the window still places each one.
#define PIROKAN_TALK_CONTROLS(X)                                                                             \
    X(ColorFrame, fraText)                                                                                   \
    X(TextBox, txtTalk)                                                                                      \
    X(ColorButton, cmdWide)                                                                                  \
    X(ColorButton, cmdCopy)                                                                                  \
    X(ColorButton, cmdPaste)                                                                                 \
    X(Grid, grdBoard)                                                                                        \
    X(ColorFrame, fraSet) /* the selection screen */                                                         \
    X(Grid, grdBoard2)                                                                                       \
    X(ColorButton, cmdspace)                                                                                 \
    X(ColorButton, cmdEnd2)                                                                                  \
    X(Grid, grdEx)                                                                                           \
    X(Grid, grdSp)                                                                                           \
    X(Grid, grdDay)                                                                                          \
    X(Grid, grdAD)                                                                                           \
    X(Grid, grdMail)                                                                                         \
    X(ColorButton, cmdOpt)                                                                                   \
    X(ColorButton, cmdEnd)                                                                                   \
    X(ColorButton, cmdSamp)                                                                                  \
    X(ColorButton, cmdSampADD)                                                                               \
    X(ColorButton, cmdSampDel)                                                                               \
    X(ColorFrame, fraRes)                                                                                    \
    X(ColorButton, cmdStart)                                                                                 \
    X(ColorFrame, fraDay)                                                                                    \
    X(ColorButton, cmdRevise)                                                                                \
    X(ColorButton, cmdBack)                                                                                  \
    X(ColorFrame, fraTalk)                                                                                   \
    X(ColorButton, cmdUp)                                                                                    \
    X(ColorButton, cmdDown)                                                                                  \
    X(ColorButton, cmdDec)                                                                                   \
    X(ColorButton, cmdRead)                                                                                  \
    X(ColorButton, cmdKey)                                                                                   \
    X(ColorLabel, txtHide)                                                                                   \
    X(ColorFrame, fraCand)  /* the candidates while typing, over the board when they are on */               \
    X(ColorButton, cmdCall) /* the call for help, in the text area's top-left corner while the call is on */

// The main window's controls, as the window builds them.
struct TalkControls
{
#define PIROKAN_DECLARE_CONTROL(Type, name) Type *name = nullptr;
    PIROKAN_TALK_CONTROLS(PIROKAN_DECLARE_CONTROL)
#undef PIROKAN_DECLARE_CONTROL
    // The edit keys, one control array named "cmdRes" told apart by index.
    std::array<ColorButton *, 5> cmdRes{}; // → ＢＳ ← ↓ ↑
};
