#pragma once

class TextBox;

// Gives the text box the focus and, when nothing is selected there, selects
// the character after the caret again, so the highlight stays visible.
void FocusAndHighlight(TextBox *box);

// Selects the character after the caret when nothing is selected.
void RestoreHighlight(TextBox *box);
