#include "text/textarea.h"

#include "app/sharedstate.h"
#include "app/talkwindow.h"
#include "platform/controls.h"
#include "platform/services.h"
#include "platform/textbox.h"
#include "platform/twips.h"

namespace {

constexpr int NormalFrame = 2445, NormalText = 2295;
constexpr int FrameMargin = 3480, TextMargin = 3630;
const QString Widen = QStringLiteral("広げる");
const QString Narrow = QStringLiteral("狭める");

} // namespace

TextArea::TextArea(TalkWindow &w, SharedState &shared) : m_w(w), m_shared(shared) {}

void TextArea::NormalTextArea()
{
    m_w.cmdWide->setText(Widen);
    Twips::setHeight(m_w.fraText, NormalFrame);
    Twips::setHeight(m_w.txtTalk, NormalText);
}

void TextArea::WidenTextArea()
{
    Twips::setHeight(m_w.fraText, m_w.heightTwips() - FrameMargin);
    Twips::setHeight(m_w.txtTalk, m_w.heightTwips() - TextMargin);
}

bool TextArea::TextAreaIsTall() const
{
    return Twips::rect(m_w.txtTalk).height() > 2300;
}

void TextArea::cmdWide_Click()
{
    if (TextAreaIsTall()) {
        NormalTextArea();
    } else {
        m_w.cmdWide->setText(Narrow);
        WidenTextArea();
    }
    m_w.txtTalk->setFocus();
}

void TextArea::cmdCopy_Click()
{
    m_shared.sv.clipboard->clear();
    m_shared.sv.clipboard->setText(m_w.txtTalk->text());
}

void TextArea::cmdPaste_Click()
{
    TextBox *box = m_w.txtTalk;
    const int start = box->selStart(), length = box->selLength();
    box->setText(box->text() + m_shared.sv.clipboard->text());
    // The caret stays where it was.
    box->setSelStart(start);
    box->setSelLength(length);
    m_shared.sv.clipboard->clear();
}
