#pragma once

struct TalkContext;

// The text area at its normal height, with the widen button saying "広げる".
void NormalTextArea(TalkContext &t);
// The text area reaching down over the board; the caller sets the widen button's caption.
void WidenTextArea(TalkContext &t);
bool TextAreaIsTall(const TalkContext &t);

void cmdWide_Click(TalkContext &t);
void cmdCopy_Click(TalkContext &t);
void cmdPaste_Click(TalkContext &t);
// The list scroll buttons: act on press, repeat while held.
void cmdUp_MouseDown(TalkContext &t);
void cmdUp_MouseUp(TalkContext &t);
void cmdDown_MouseDown(TalkContext &t);
void cmdDown_MouseUp(TalkContext &t);
// One step of a scroll loop; false when the list's end is reached.
bool ScrollListStep(TalkContext &t, int direction);

// Reads the whole text aloud, or stops the reading.
void cmdRead_Click(TalkContext &t);
