#include "text/highlight.h"

#include "platform/textbox.h"

void RestoreHighlight(TextBox *box)
{
    if (box->selLength() == 0)
        box->sendKey(TextBox::Key::ShiftRight);
}

void FocusAndHighlight(TextBox *box)
{
    box->setFocus();
    RestoreHighlight(box);
}
