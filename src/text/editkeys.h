#pragma once

#include <array>

class ColorButton;
class KeyRepeat;
class QWidget;
class Sentence;

namespace EditKeys {
enum Index { Right = 0, Backspace = 1, Left = 2, Down = 3, Up = 4 };

// One action of an edit key on the sentence; false when it has reached a stop.
bool act(Sentence &sentence, int index);
} // namespace EditKeys

// The five edit keys under the board: act on press, repeat while held.
class EditKeyButtons
{
public:
    // The controls the edit keys own: the keys, by index, and the text box that shows what they act on.
    struct Controls
    {
        std::array<ColorButton *, 5> cmdRes;
        QWidget *txtTalk;
    };

    EditKeyButtons(const Controls &c, Sentence &sentence, KeyRepeat &keyRepeat);

    void cmdRes_MouseDown(int index);
    void cmdRes_MouseUp(int index);
    // One repetition of a held edit key; false when the loop ends.
    bool RepeatEditKey(int index);

private:
    Controls m_c;
    Sentence &m_sentence;
    KeyRepeat &m_keyRepeat;
};
