#include "text/editkeys.h"

#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/textbox.h"
#include "text/keyrepeat.h"

namespace EditKeys {

namespace {

using Key = TextBox::Key;

const QString Marker = QStringLiteral("_");

// Moves the highlight to the same column of the next or previous line; on the
// first or last line it stays where it was.
bool moveLine(TextBox &box, Key key)
{
    // From the highlight's start, whichever way it was made, so the column is kept.
    const int before = box.selStart();
    box.setSelStart(before);
    box.sendKey(key);
    const int landed = box.textCursor().position();
    // Past the end of a short last line the marker is highlighted.
    box.setSelStart(landed == before ? before : std::min(landed, box.length() - 1));
    box.setSelLength(1);
    return true;
}

} // namespace

bool act(TextBox &box, int index)
{
    const int p = box.selStart();
    const QString text = box.text();
    const int L = int(text.size());
    switch (index) {
    case Right:
        if (p == L - 1 && !text.endsWith(Marker)) {
            box.setText(text + Marker);
            box.setSelStart(box.length() - 1);
            box.sendKey(Key::ShiftRight);
            return false;
        }
        if (p + 2 > L)
            return false;
        if (box.selLength() != 0) {
            box.setSelLength(0);
            box.sendKey(Key::Right);
        }
        box.sendKey(Key::ShiftRight);
        return true;
    case Backspace: {
        const bool highlighted = box.selLength() != 0;
        if (p == L - 1 && text.endsWith(Marker)) {
            // The character before the marker goes, from the highlight or from a caret alike.
            if (highlighted)
                box.sendKey(Key::Left);
            box.sendKey(Key::Backspace);
        } else {
            box.sendKey(Key::Backspace);
            if (highlighted)
                box.sendKey(Key::Left);
        }
        box.sendKey(Key::ShiftRight);
        return false;
    }
    case Left:
        if (p == 0)
            return false;
        box.setSelLength(0);
        box.sendKey(Key::ShiftLeft);
        return true;
    case Down:
        return moveLine(box, Key::Down);
    case Up:
        return moveLine(box, Key::Up);
    default:
        return true;
    }
}

} // namespace EditKeys

EditKeyButtons::EditKeyButtons(const Controls &c, KeyRepeat &keyRepeat) : m_c(c), m_keyRepeat(keyRepeat) {}

bool EditKeyButtons::RepeatEditKey(int index)
{
    TextBox *box = m_c.txtTalk;
    // A window that has gone away ends the repeat.
    if (!box->isVisible())
        return false;
    box->setFocus();
    return EditKeys::act(*box, index);
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
