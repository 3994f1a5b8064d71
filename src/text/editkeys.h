#pragma once

class TextBox;
struct TalkContext;

namespace EditKeys {
enum Index { Right = 0, Backspace = 1, Left = 2, Down = 3, Up = 4 };

// One action of an edit key on the text box; false when it has reached a stop.
bool act(TextBox &box, int index);
} // namespace EditKeys

void cmdRes_MouseDown(TalkContext &t, int index);
void cmdRes_MouseUp(TalkContext &t, int index);
// One repetition of a held edit key; false when the loop ends.
bool RepeatEditKey(TalkContext &t, int index);
