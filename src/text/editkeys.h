#pragma once

class KeyRepeat;
class TalkWindow;
class TextBox;

namespace EditKeys {
enum Index { Right = 0, Backspace = 1, Left = 2, Down = 3, Up = 4 };

// One action of an edit key on the text box; false when it has reached a stop.
bool act(TextBox &box, int index);
} // namespace EditKeys

// The five edit keys under the board: act on press, repeat while held.
class EditKeyButtons
{
public:
    EditKeyButtons(TalkWindow &w, KeyRepeat &keyRepeat);

    void cmdRes_MouseDown(int index);
    void cmdRes_MouseUp(int index);
    // One repetition of a held edit key; false when the loop ends.
    bool RepeatEditKey(int index);

private:
    TalkWindow &m_w;
    KeyRepeat &m_keyRepeat;
};
