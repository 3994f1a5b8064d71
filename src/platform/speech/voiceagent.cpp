#include "platform/speech/voiceagent.h"

#include "platform/characterfile.h"
#include "platform/speech/audiooutput.h"
#include "platform/speech/espeakengine.h"
#include "platform/speech/figure.h"
#include "platform/speech/openjtalkengine.h"
#include "platform/speech/speakingvoice.h"

#include <QDir>
#include <QLoggingCategory>
#include <QStandardPaths>
#include <QTimer>

Q_LOGGING_CATEGORY(lcVoice, "pirokan.voice")

VoiceCharacter::VoiceCharacter(std::unique_ptr<SpeakingVoice> voice, std::unique_ptr<AudioOutput> audio,
                               std::unique_ptr<Figure> figure, bool mute, const CharacterSheet &sheet)
    : m_audio(std::move(audio)), m_voice(std::move(voice)), m_figure(std::move(figure)), m_mute(mute),
      m_sheet(std::make_unique<CharacterSheet>(sheet))
{}

void VoiceCharacter::adjustVoice(double speed, double pitch)
{
    if (!m_voice)
        return;
    CharacterSheet sheet = *m_sheet;
    sheet.speed = speed;
    sheet.pitch = pitch;
    QStringList problems;
    // An engine that cannot speak with these values leaves the voice as it was.
    if (std::unique_ptr<SpeechEngine> engine = firstWorkingEngine(sheet, &problems))
        m_voice->setEngine(std::move(engine));
}

VoiceCharacter::~VoiceCharacter()
{
    m_voice.reset(); // before the output it plays into
}

void VoiceCharacter::setLanguageId(int languageId)
{
    if (languageId != 1041)
        qCWarning(lcVoice) << "only Japanese is spoken; language" << languageId << "ignored";
}

void VoiceCharacter::show()
{
    m_figure->show();
}

void VoiceCharacter::moveTo(int x, int y)
{
    m_figure->move(x, y);
}

void VoiceCharacter::fitHeight(int pixels)
{
    m_figure->fitHeight(pixels);
}

void VoiceCharacter::play(const QString &animation)
{
    if (animation == QLatin1String("greet"))
        m_figure->greet();
}

void VoiceCharacter::speak(const QString &text)
{
    if (m_voice) {
        m_voice->speak(text);
        m_figure->wake();
    }
}

bool VoiceCharacter::isSpeaking() const
{
    return m_voice && m_voice->isSpeaking();
}

void VoiceCharacter::stop()
{
    if (m_voice)
        m_voice->stop();
}

void VoiceCharacter::prepare(const QStringList &texts)
{
    if (m_voice)
        m_voice->prefetch(texts);
}

void VoiceCharacter::setMuteHandler(std::function<void()> handler)
{
    // A voice that is mute at start (no sound server yet) is kept: it speaks once the server answers.
    if (m_voice)
        m_voice->setFailureHandler(
            [figure = m_figure.get(), handler] {
                QMetaObject::invokeMethod(figure, handler, Qt::QueuedConnection);
            },
            m_mute);
    if (m_mute)
        QTimer::singleShot(0, m_figure.get(), handler);
}

std::unique_ptr<SpeechEngine> firstWorkingEngine(const CharacterSheet &sheet, QStringList *problems)
{
    for (const QString &name : sheet.engines) {
        std::unique_ptr<SpeechEngine> engine;
        if (name == QLatin1String("openjtalk")) {
            OpenJTalkEngine::Setup setup;
            setup.voiceFile = sheet.voiceFile;
            setup.speed = sheet.speed;
            setup.pitch = sheet.pitch;
            setup.volume = sheet.volume;
            engine = std::make_unique<OpenJTalkEngine>(setup);
        } else if (name == QLatin1String("espeak")) {
            engine = std::make_unique<EspeakEngine>(sheet.speed, sheet.pitch, sheet.volume);
        } else {
            break; // "silent"
        }
        const QString why = engine->unavailableReason();
        if (why.isEmpty())
            return engine;
        *problems << QStringLiteral("%1: %2").arg(name, why);
    }
    return nullptr;
}

bool VoiceAgent::load(const QString &name, const QString &file, QString *error)
{
    auto sheet = readCharacterFile(file, error);
    if (!sheet)
        return false;
    sheet->speed = m_speed.value_or(sheet->speed);
    sheet->pitch = m_pitch.value_or(sheet->pitch);
    QStringList problems;
    std::unique_ptr<SpeechEngine> engine = firstWorkingEngine(*sheet, &problems);
    QString noSound;
    std::unique_ptr<AudioOutput> audio = engine ? createSystemAudioOutput(&noSound) : nullptr;
    std::unique_ptr<SpeakingVoice> voice;
    if (engine && audio) {
        const QString cache = QDir(QStandardPaths::writableLocation(QStandardPaths::CacheLocation))
                                  .filePath(QStringLiteral("voice"));
        voice = std::make_unique<SpeakingVoice>(std::move(engine), audio.get(), cache);
        voice->setBank(m_bank);
    }
    if (!voice || !noSound.isEmpty()) {
        if (!noSound.isEmpty())
            problems << noSound;
        qCWarning(lcVoice).noquote() << "Pirokan is silent:" << problems.join(QStringLiteral("; "))
                                     << "(see Troubleshooting in the README)";
    }
    SpeakingVoice *raw = voice.get();
    auto figure = std::make_unique<Figure>(sheet->body, sheet->face, sheet->size,
                                           [raw] { return raw && raw->isSpeaking(); });
    // Silent by choice ("silent" first) leaves no problem to tell of.
    const bool mute = (!voice && !problems.isEmpty()) || !noSound.isEmpty();
    m_characters[name] =
        std::make_unique<VoiceCharacter>(std::move(voice), std::move(audio), std::move(figure), mute, *sheet);
    return true;
}

Character *VoiceAgent::character(const QString &name)
{
    const auto it = m_characters.find(name);
    return it == m_characters.end() ? nullptr : it->second.get();
}
