#pragma once

#include <array>

class ColorButton;
class KeyRepeat;
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
    // The controls the edit keys own: the keys, by index, and the text they act on.
    struct Controls
    {
        std::array<ColorButton *, 5> cmdRes;
        TextBox *txtTalk;
    };

    EditKeyButtons(const Controls &c, KeyRepeat &keyRepeat);

    void cmdRes_MouseDown(int index);
    void cmdRes_MouseUp(int index);
    // One repetition of a held edit key; false when the loop ends.
    bool RepeatEditKey(int index);

private:
    Controls m_c;
    KeyRepeat &m_keyRepeat;
};
