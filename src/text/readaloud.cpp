#include "text/readaloud.h"

#include "app/sharedstate.h"
#include "app/talkwindow.h"
#include "platform/character.h"
#include "platform/controls.h"
#include "platform/textbox.h"
#include "text/textarea.h"

#include <QTimer>

namespace {

const QString Read = QStringLiteral("読む");
const QString Reading = QStringLiteral("♪");
constexpr int WatchMs = 150;

} // namespace

ReadAloud::ReadAloud(TalkWindow &w, SharedState &shared, TextArea &textArea)
    : m_w(w), m_shared(shared), m_textArea(textArea)
{}

// The state a Stop leaves: the marker highlighted, the text area back to size, "読む".
void ReadAloud::finishReading()
{
    TextBox *box = m_w.txtTalk;
    if (!box->text().endsWith(QLatin1Char('_')))
        box->setText(box->text() + QStringLiteral("_"));
    box->setSelStart(box->length() - 1);
    box->setSelLength(1);
    if (m_w.fraDay->isHidden())
        m_textArea.NormalTextArea();
    m_w.cmdRead->setText(Read);
}

// While "♪" shows, looks now and then whether the voice has finished by itself.
void ReadAloud::watchReading()
{
    QTimer::singleShot(WatchMs, &m_w, [this] {
        if (m_w.cmdRead->text() != Reading)
            return; // stopped by a press
        if (m_shared.gCharacter->isSpeaking())
            watchReading();
        else
            finishReading();
    });
}

void ReadAloud::cmdRead_Click()
{
    m_shared.keyBeep();
    TextBox *box = m_w.txtTalk;
    if (box->text().isEmpty())
        return;
    m_textArea.WidenTextArea();
    if (m_w.cmdRead->text() != Reading) {
        m_w.cmdRead->setText(Reading);
        QString spoken = box->text();
        spoken.replace(QLatin1Char('_'), QLatin1Char(' '));
        m_shared.gCharacter->speak(spoken);
        watchReading();
        return;
    }
    m_shared.gCharacter->stop();
    finishReading();
}
