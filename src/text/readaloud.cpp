#include "text/readaloud.h"

#include "platform/character.h"
#include "shared/sentence.h"
#include "shared/sharedstate.h"
#include "text/textarea.h"

#include <QTimer>

namespace {

constexpr int WatchMs = 150;

} // namespace

ReadAloud::ReadAloud(Sentence &sentence, SharedState &shared, TextArea &textArea)
    : m_sentence(sentence), m_shared(shared), m_textArea(textArea)
{}

// The state a Stop leaves: the marker highlighted, the text area back to size, not reading.
void ReadAloud::finishReading()
{
    m_sentence.highlightMarker();
    // An opened entry keeps its widened area.
    if (m_shared.state.screen() != Screen::Entry)
        m_textArea.NormalTextArea();
    m_shared.state.setReading(false);
}

// While reading, looks now and then whether the voice has finished by itself.
void ReadAloud::watchReading()
{
    QTimer::singleShot(WatchMs, &m_sentence, [this] {
        if (!m_shared.state.reading())
            return; // stopped by a press
        if (m_shared.gCharacter->isSpeaking())
            watchReading();
        else
            finishReading();
    });
}

// Any marker the text holds is read as a pause.
QString TextToRead(const QString &shown)
{
    QString spoken = shown;
    spoken.replace(Sentence::Marker, QLatin1Char(' '));
    return spoken;
}

QString ReadAloud::textToRead() const
{
    return TextToRead(m_sentence.shown());
}

void ReadAloud::cmdRead_Click()
{
    m_shared.keyBeep();
    if (m_sentence.shown().isEmpty()) {
        // 始め emptied the text while it was read: the reading still stops.
        if (m_shared.state.reading()) {
            m_shared.gCharacter->stop();
            finishReading();
        }
        return;
    }
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
