#include "shared/sharedstate.h"

void SharedState::keyBeep()
{
    if (settings.beepOn())
        sv.beeper->beep();
}
