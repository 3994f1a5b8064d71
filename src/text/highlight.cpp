#include "text/highlight.h"

#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "platform/textbox.h"

void RestoreHighlight(TalkContext &t)
{
    if (t.w->txtTalk->selLength() == 0)
        t.w->txtTalk->sendKey(TextBox::Key::ShiftRight);
}

void FocusAndHighlight(TalkContext &t)
{
    t.w->txtTalk->setFocus();
    RestoreHighlight(t);
}
