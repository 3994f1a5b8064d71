#pragma once

class QWidget;
class Sentence;

// Gives the text box the focus and, when nothing is highlighted, highlights
// the character after the caret again, so the highlight stays visible.
void FocusAndHighlight(QWidget *textBox, Sentence &sentence);
