#include "text/editkeys.h"

#include "platform/colors.h"
#include "platform/controls.h"
#include "shared/sentence.h"
#include "text/keyrepeat.h"

namespace EditKeys {

bool act(Sentence &sentence, int index)
{
    switch (index) {
    case Right:
        return sentence.moveRight();
    case Backspace:
        return sentence.deleteBack();
    case Left:
        return sentence.moveLeft();
    case Down:
        return sentence.moveLine(true);
    case Up:
        return sentence.moveLine(false);
    default:
        return true;
    }
}

} // namespace EditKeys

EditKeyButtons::EditKeyButtons(const Controls &c, Sentence &sentence, KeyRepeat &keyRepeat)
    : m_c(c), m_sentence(sentence), m_keyRepeat(keyRepeat)
{}

bool EditKeyButtons::RepeatEditKey(int index)
{
    // A window that has gone away ends the repeat.
    if (!m_c.txtTalk->isVisible())
        return false;
    m_c.txtTalk->setFocus();
    return EditKeys::act(m_sentence, index);
}

void EditKeyButtons::cmdRes_MouseDown(int index)
{
    m_c.cmdRes[size_t(index)]->setBackColor(Colors::Grey);
    m_keyRepeat.hold([this, index] { return RepeatEditKey(index); });
}

void EditKeyButtons::cmdRes_MouseUp(int index)
{
    m_c.cmdRes[size_t(index)]->setBackColor(Colors::White);
    m_keyRepeat.release();
}
