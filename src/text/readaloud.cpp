#include "text/readaloud.h"

#include "platform/character.h"
#include "platform/textbox.h"
#include "shared/sharedstate.h"
#include "text/textarea.h"

#include <QTimer>

namespace {

constexpr int WatchMs = 150;

} // namespace

ReadAloud::ReadAloud(TextBox *txtTalk, SharedState &shared, TextArea &textArea)
    : m_txtTalk(txtTalk), m_shared(shared), m_textArea(textArea)
{}

// The state a Stop leaves: the marker highlighted, the text area back to size, not reading.
void ReadAloud::finishReading()
{
    TextBox *box = m_txtTalk;
    if (!box->text().endsWith(QLatin1Char('_')))
        box->setText(box->text() + QStringLiteral("_"));
    box->setSelStart(box->length() - 1);
    box->setSelLength(1);
    // An opened entry keeps its widened area.
    if (m_shared.state.screen() != Screen::Entry)
        m_textArea.NormalTextArea();
    m_shared.state.setReading(false);
}

// While reading, looks now and then whether the voice has finished by itself.
void ReadAloud::watchReading()
{
    QTimer::singleShot(WatchMs, m_txtTalk, [this] {
        if (!m_shared.state.reading())
            return; // stopped by a press
        if (m_shared.gCharacter->isSpeaking())
            watchReading();
        else
            finishReading();
    });
}

QString TextToRead(const QString &boxText)
{
    QString spoken = boxText;
    spoken.replace(QLatin1Char('_'), QLatin1Char(' '));
    return spoken;
}

QString ReadAloud::textToRead() const
{
    return TextToRead(m_txtTalk->text());
}

void ReadAloud::cmdRead_Click()
{
    m_shared.keyBeep();
    TextBox *box = m_txtTalk;
    if (box->text().isEmpty())
        return;
    m_textArea.WidenTextArea();
    if (!m_shared.state.reading()) {
        m_shared.state.setReading(true);
        const QString spoken = textToRead();
        m_shared.gCharacter->speak(spoken);
        m_shared.learn(spoken);
        watchReading();
        return;
    }
    m_shared.gCharacter->stop();
    finishReading();
}
