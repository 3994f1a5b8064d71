#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "platform/character.h"
#include "platform/controls.h"
#include "platform/textbox.h"
#include "text/texttools.h"

#include <QTimer>

namespace {

const QString Read = QStringLiteral("読む");
const QString Reading = QStringLiteral("♪");
constexpr int WatchMs = 150;

// The state a Stop leaves: the marker highlighted, the text area back to size, "読む".
void finishReading(TalkContext &t)
{
    TextBox *box = t.w->txtTalk;
    if (!box->text().endsWith(QLatin1Char('_')))
        box->setText(box->text() + QStringLiteral("_"));
    box->setSelStart(box->length() - 1);
    box->setSelLength(1);
    if (t.w->fraDay->isHidden())
        NormalTextArea(t);
    t.w->cmdRead->setText(Read);
}

// While "♪" shows, looks now and then whether the voice has finished by itself.
void watchReading(TalkContext &t)
{
    QTimer::singleShot(WatchMs, t.w, [&t] {
        if (t.w->cmdRead->text() != Reading)
            return; // stopped by a press
        if (t.gCharacter->isSpeaking())
            watchReading(t);
        else
            finishReading(t);
    });
}

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
        watchReading(t);
        return;
    }
    t.gCharacter->stop();
    finishReading(t);
}
