#include "board/speech.h"

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

} // namespace Speech
