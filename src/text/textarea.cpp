#include "text/textarea.h"

#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/services.h"
#include "platform/twips.h"
#include "shared/canvas.h"
#include "shared/okdialog.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"

namespace {

constexpr int NormalFrame = 2445, NormalText = 2295;
constexpr int FrameMargin = 3480, TextMargin = 3630;

} // namespace

TextArea::TextArea(const Controls &c, Sentence &sentence, SharedState &shared)
    : m_c(c), m_sentence(sentence), m_shared(shared)
{
    for (ColorButton *b : {c.cmdCopy, c.cmdPaste}) {
        QObject::connect(b, &QPushButton::pressed, b, [b] { b->setBackColor(Colors::Grey); });
        QObject::connect(b, &QPushButton::released, b, [b] { b->setBackColor(Colors::White); });
    }
}

void TextArea::NormalTextArea()
{
    m_shared.state.narrowTextArea();
    Twips::setHeight(m_c.fraText, NormalFrame);
    Twips::setHeight(m_c.txtTalk, NormalText);
}

void TextArea::WidenTextArea(bool widened)
{
    m_shared.state.widenTextArea(widened);
    Twips::setHeight(m_c.fraText, Canvas::OuterHeight - FrameMargin);
    Twips::setHeight(m_c.txtTalk, Canvas::OuterHeight - TextMargin);
}

bool TextArea::TextAreaIsTall() const
{
    return m_shared.state.textAreaTall();
}

void TextArea::cmdWide_Click()
{
    if (TextAreaIsTall())
        NormalTextArea();
    else
        WidenTextArea(true);
    m_c.txtTalk->setFocus();
}

void TextArea::cmdCopy_Click()
{
    m_shared.sv.clipboard->clear();
    m_shared.sv.clipboard->setText(m_sentence.shown());
}

void TextArea::cmdPaste_Click()
{
    // The caret stays where it was. A paste that would not fit is refused whole, and the
    // clipboard kept, rather than cut where the user cannot see.
    const QString pasted = m_shared.sv.clipboard->text();
    if (const int max = m_sentence.maxLength();
        max > 0 && Sentence::plain(m_sentence.shown() + pasted).size() > max) {
        ShowOKDialog(m_shared,
                     QStringLiteral("貼り付けると %1 文字を超えるので、貼り付けませんでした。").arg(max),
                     OkDialog::Notice, QStringLiteral("長い文"));
        return;
    }
    m_sentence.append(pasted);
    m_shared.sv.clipboard->clear();
}
