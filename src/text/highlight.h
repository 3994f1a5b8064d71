#pragma once

struct TalkContext;

// Gives the text box the focus and, when nothing is selected there, selects
// the character after the caret again, so the highlight stays visible.
void FocusAndHighlight(TalkContext &t);

// Selects the character after the caret when nothing is selected.
void RestoreHighlight(TalkContext &t);
