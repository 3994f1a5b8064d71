#pragma once

struct SharedState;
class TalkWindow;

// The text area's height, and the copy and paste keys beside it.
class TextArea
{
public:
    TextArea(TalkWindow &w, SharedState &shared);

    // The text area at its normal height, with the widen button saying "広げる".
    void NormalTextArea();
    // The text area reaching down over the board; the caller sets the widen button's caption.
    void WidenTextArea();
    bool TextAreaIsTall() const;

    void cmdWide_Click();
    void cmdCopy_Click();
    void cmdPaste_Click();

private:
    TalkWindow &m_w;
    SharedState &m_shared;
};
