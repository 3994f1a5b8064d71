#include "board/speech.h"

#include "platform/character.h"
#include "shared/sharedstate.h"

namespace Speech {

bool voiced(const QString &opt3, const QString &tag)
{
    switch (opt3.toInt()) {
    case 0:
        return true;
    case 1:
        return tag == Entered || tag == Selected;
    case 2:
        return tag == Entered;
    case 3:
        return false;
    default:
        return true;
    }
}

void speakIfVoiced(SharedState &shared, const QString &text, const QString &tag)
{
    if (voiced(shared.settings.OPT3, tag) && shared.gCharacter)
        shared.gCharacter->speak(text);
}

} // namespace Speech
