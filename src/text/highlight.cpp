#include "text/highlight.h"

#include "shared/sentence.h"

#include <QWidget>

void FocusAndHighlight(QWidget *textBox, Sentence &sentence)
{
    textBox->setFocus();
    sentence.restoreHighlight();
}
