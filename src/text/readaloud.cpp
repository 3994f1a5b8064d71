#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "platform/character.h"
#include "platform/controls.h"
#include "platform/textbox.h"
#include "text/texttools.h"

namespace {
const QString Read = QStringLiteral("読む");
const QString Reading = QStringLiteral("♪");
} // namespace

void cmdRead_Click(TalkContext &t)
{
    t.keyBeep();
    TextBox *box = t.w->txtTalk;
    if (box->text().isEmpty())
        return;
    WidenTextArea(t);
    if (t.w->cmdRead->text() != Reading) {
        t.w->cmdRead->setText(Reading);
        QString spoken = box->text();
        spoken.replace(QLatin1Char('_'), QLatin1Char(' '));
        t.gCharacter->speak(spoken);
        return;
    }
    t.gCharacter->stop();
    if (!box->text().endsWith(QLatin1Char('_')))
        box->setText(box->text() + QStringLiteral("_"));
    box->setSelStart(box->length() - 1);
    box->setSelLength(1);
    if (t.w->fraDay->isHidden())
        NormalTextArea(t);
    t.w->cmdRead->setText(Read);
}
