// The user's own voice through a real sound server: from 読む to the first sound of a
// banked phrase, from a press to a recorded kana, the silence between a banked and a
// synthesised piece; and importing into, and looking up in, a bank of 10,000 phrases.
#include "platform/characterfile.h"
#include "platform/speech/audiooutput.h"
#include "platform/speech/openjtalkengine.h"
#include "platform/speech/speakingvoice.h"
#include "platform/voicebank/levelling.h"
#include "platform/voicebank/voicebank.h"
#include "platform/voicebank/voiceimport.h"
#include "pulsemeasure.h"
#include "timing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <random>
#include <sndfile.h>

namespace {

const QStringList Phrases = {"おはようございます", "ありがとう",  "お水を下さい", "トイレに行きたい",
                             "少し休みたいです",   "痛いです",    "寒いです",     "暑いです",
                             "テレビをつけて",     "お願いします"};
const QStringList Kana = {"あ", "い", "う", "え", "お", "か", "き", "く", "け", "こ"};

std::chrono::nanoseconds ms(double v)
{
    return std::chrono::nanoseconds(qint64(v * 1e6));
}

// A recording as the user would have made it: here the synthetic voice, trimmed and levelled.
Clip recordingOf(OpenJTalkEngine &engine, const QString &text)
{
    static const std::atomic_bool notCancelled{false};
    const auto clip = engine.synthesize(text, notCancelled);
    return clip ? Levelling::levelled(Levelling::trimmed(*clip)) : Clip{};
}

void throughServer(const QString &folder)
{
    ScratchServer server;
    if (const QString why = server.start(); !why.isEmpty()) {
        std::printf("pulse: not measured (%s)\n", qPrintable(why));
        return;
    }
    qputenv("PULSE_SERVER", server.address());
    ScratchServer::playTone();
    std::unique_ptr<MonitorListener> monitor = MonitorListener::open();
    QString why;
    std::unique_ptr<AudioOutput> audio = monitor ? createSystemAudioOutput(&why) : nullptr;
    if (!audio || !why.isEmpty()) {
        std::printf("pulse: not measured (%s)\n", monitor ? qPrintable(why) : "no monitor source");
        return;
    }
    OpenJTalkEngine::Setup setup;
    setup.voiceFile = CharacterSheet().voiceFile;
    OpenJTalkEngine maker(setup);
    {
        VoiceBank bank(folder);
        for (const QString &p : Phrases)
            bank.keep(p, BankEntry::Kind::Phrase, recordingOf(maker, p), &why);
        for (const QString &k : Kana)
            bank.keep(k, BankEntry::Kind::Kana, recordingOf(maker, k), &why);
    }
    VoiceBank bank(folder); // read afresh: the first use of each recording comes from disk
    bank.load(&why);
    SpeakingVoice voice(std::make_unique<OpenJTalkEngine>(setup), audio.get(), QString());
    voice.setBank(&bank);

    Timings phrase, phraseCold, kana;
    for (int i = 0; i < 30; ++i) {
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(Phrases[i % Phrases.size()] + QStringLiteral("。_"));
        const double heard = monitor->waitForSound(t, 3000);
        (i < Phrases.size() ? phraseCold : phrase).add(ms(heard));
        voice.stop();
        monitor->waitForQuiet(t, 150, 5000);
    }
    for (int i = 0; i < 40; ++i) {
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(Kana[i % Kana.size()]);
        kana.add(ms(monitor->waitForSound(t, 3000)));
        monitor->waitForQuiet(t, 200, 3000);
    }
    phrase.print("banked_phrase");
    phraseCold.print("banked_phrase_first_use");
    kana.print("own_kana");

    // Banked, synthesised, banked: the longest silence beyond the pause put between pieces.
    double longest = 0;
    for (int i = 0; i < 5; ++i) {
        voice.forgetMemoryCache();
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(
            QStringLiteral("おはようございます。今日は天気が良いので、散歩に行きたいです。ありがとう。"));
        monitor->waitForSound(t, 3000);
        longest = std::max(longest, monitor->longestSilence(t, 1500, 20000));
    }
    std::printf("mixed_sentence_longest_silence_ms value=%.1f pause_ms=%d\n", longest,
                SpeakingVoice::ClausePauseMs);
    std::printf("mixed_sentence_gap_ms value=%.1f\n", std::max(0.0, longest - SpeakingVoice::ClausePauseMs));
}

void writeWav(const QString &path, const Clip &clip)
{
    SF_INFO info{};
    info.samplerate = clip.sampleRate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE *f = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    sf_writef_short(f, clip.samples.data(), sf_count_t(clip.samples.size()));
    sf_close(f);
}

Clip tone(double seconds, int rate, double pitch)
{
    Clip c;
    c.sampleRate = rate;
    for (int i = 0; i < int(seconds * rate); ++i)
        c.samples.push_back(qint16(6000 * std::sin(2 * M_PI * pitch * i / rate)));
    return c;
}

void largeBank(const QString &folder)
{
    VoiceBank bank(folder);
    QString error;
    for (int i = 0; i < 9000; ++i)
        bank.keep(QStringLiteral("登録済みの文 %1").arg(i), BankEntry::Kind::Phrase,
                  tone(0.3, 48000, 200 + i % 300), &error, VoiceBank::Index::Later);
    bank.saveIndex(&error);
    QTemporaryDir source;
    for (int i = 0; i < 1000; ++i)
        writeWav(source.filePath(QStringLiteral("取り込む文 %1.wav").arg(i)),
                 tone(1.0, 22050, 180 + i % 200));
    QElapsedTimer t;
    t.start();
    const auto lines = VoiceImport::importFolder(source.path(), bank);
    const double seconds = t.nsecsElapsed() / 1e9;
    const auto banked = std::count_if(lines.begin(), lines.end(), [](const auto &l) { return l.banked; });
    std::printf("bank_import_s value=%.2f files=%lld banked=%lld bank_size=%lld\n", seconds,
                qlonglong(lines.size()), qlonglong(banked), qlonglong(bank.size()));

    // A lookup as 読む makes it: is the text banked, and its recording, read from disk the first time.
    VoiceBank fresh(folder);
    fresh.load(&error);
    std::mt19937 random(1);
    std::uniform_int_distribution<int> pick(0, 8999);
    Timings lookup;
    for (int i = 0; i < 300; ++i) {
        const QString text = QStringLiteral("登録済みの文 %1。").arg(pick(random));
        const auto start = std::chrono::steady_clock::now();
        if (fresh.has(text, BankEntry::Kind::Phrase))
            fresh.clip(text, BankEntry::Kind::Phrase);
        lookup.add(std::chrono::steady_clock::now() - start);
    }
    lookup.print("bank_lookup");
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    throughServer(dir.filePath(QStringLiteral("bank")));
    largeBank(dir.filePath(QStringLiteral("large")));
    return 0;
}
