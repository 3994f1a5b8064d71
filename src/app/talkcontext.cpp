#include "app/talkcontext.h"

#include "platform/services.h"

void TalkContext::keyBeep()
{
    if (settings.beepOn())
        sv.beeper->beep();
}
