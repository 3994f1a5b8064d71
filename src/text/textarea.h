#pragma once

struct SharedState;
class ColorButton;
class ColorFrame;
class QWidget;
class Sentence;

// The text area's height, and the copy and paste keys beside it.
class TextArea
{
public:
    // The controls the text area owns.
    struct Controls
    {
        ColorFrame *fraText;
        QWidget *txtTalk; // the text box, its height following the area's
        ColorButton *cmdCopy;
        ColorButton *cmdPaste;
    };

    TextArea(const Controls &c, Sentence &sentence, SharedState &shared);

    // The text area at its normal height, with the widen button saying "広げる".
    void NormalTextArea();
    // The text area reaching down over the board; `widened` (by hand, or for an
    // entry) has the widen button say "狭める".
    void WidenTextArea(bool widened = false);
    bool TextAreaIsTall() const;

    void cmdWide_Click();
    void cmdCopy_Click();
    void cmdPaste_Click();

private:
    Controls m_c;
    Sentence &m_sentence;
    SharedState &m_shared;
};
