#include "platform/characterfile.h"
#include "platform/speech/clip.h"
#include "platform/speech/espeakengine.h"
#include "platform/speech/openjtalkengine.h"
#include "platform/speech/pcmqueue.h"
#include "platform/speech/readings.h"
#include "platform/speech/speakingvoice.h"
#include "platform/speech/speechengine.h"
#include "platform/speech/voicecache.h"
#include "support/captureaudio.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>

namespace {

OpenJTalkEngine::Setup openJTalkSetup()
{
    OpenJTalkEngine::Setup s;
    s.voiceFile = CharacterSheet().voiceFile;
    return s;
}

double rms(const Clip &clip)
{
    double sum = 0;
    for (qint16 s : clip.samples)
        sum += double(s) * s;
    return clip.samples.empty() ? 0 : std::sqrt(sum / double(clip.samples.size()));
}

bool audible(const std::optional<Clip> &clip)
{
    return clip && clip->seconds() > 0.05 && rms(*clip) > 300;
}

// An engine that fails on every utterance, as one that crashes each time does.
class FailingEngine final : public SpeechEngine
{
public:
    QString key() const override { return QStringLiteral("failing"); }
    QString unavailableReason() const override { return {}; }
    std::optional<Clip> synthesize(const QString &, const std::atomic_bool &) override
    {
        return std::nullopt;
    }
};

// Makes a tenth of a second of tone for any text, at once.
class ToneEngine final : public SpeechEngine
{
public:
    QString key() const override { return QStringLiteral("tone"); }
    QString unavailableReason() const override { return {}; }
    std::optional<Clip> synthesize(const QString &, const std::atomic_bool &) override
    {
        Clip c;
        c.samples.assign(Clip::Rate / 10, 3000);
        return c;
    }
};

} // namespace

// The voice: readings, engines, and the queue that plays their clips in order.
class TestVoice : public QObject
{
    Q_OBJECT

    std::atomic_bool notCancelled{false};

private slots:
    void clausesArePausedAsInOneSentence()
    {
        QTemporaryDir cache;
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<ToneEngine>(), &audio, cache.path());
        for (int cached = 0; cached < 2; ++cached) { // made now, then played from the cache
            audio.clear();
            voice.speak(QStringLiteral("きょうは、いいてんき。またね"));
            voice.waitUntilIdle();
            QTRY_COMPARE(audio.count(), size_t(5)); // clause, pause, clause, pause, clause
            for (size_t i : {1u, 3u}) {
                const Clip &pause = audio.clips[i];
                QVERIFY(
                    std::all_of(pause.samples.begin(), pause.samples.end(), [](qint16 s) { return s == 0; }));
                QVERIFY(pause.seconds() >= 0.400 && pause.seconds() <= 0.485);
            }
            QCOMPARE(audio.clips[4].samples.front(), qint16(3000)); // nothing after the last clause
        }
        audio.clear();
        voice.speak(QStringLiteral("か")); // a lone character: no pause at all
        voice.waitUntilIdle();
        QTRY_COMPARE(audio.count(), size_t(1));
    }

    void speechThatKeepsFailingIsReportedOnce()
    {
        QTemporaryDir cache;
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<FailingEngine>(), &audio, cache.path());
        std::atomic_int reported{0};
        voice.setFailureHandler([&reported] { ++reported; });
        for (int i = 0; i < SpeakingVoice::FailuresToReport - 1; ++i) {
            voice.speak(QStringLiteral("あ"));
            voice.waitUntilIdle();
        }
        QCOMPARE(reported.load(), 0); // a failure or two may pass
        for (int i = 0; i < 5; ++i) { // marks alone rightly make no sound: no failure
            voice.speak(QStringLiteral("。、。"));
            voice.waitUntilIdle();
        }
        QCOMPARE(reported.load(), 0);
        for (int i = 0; i < 5; ++i) {
            voice.speak(QStringLiteral("い"));
            voice.waitUntilIdle();
        }
        QCOMPARE(reported.load(), 1);
        QCOMPARE(audio.count(), size_t(0));
    }

    void afterAnyNumberOfStopsAClipIsHeardExactly()
    {
        PcmQueue queue;
        const auto clipOf = [](int round, int samples) {
            QByteArray bytes(samples * 2, '\0');
            for (int i = 0; i < samples; ++i)
                reinterpret_cast<qint16 *>(bytes.data())[i] = qint16(round * 7 + i);
            return bytes;
        };
        for (int round = 0; round < 1000; ++round) {
            queue.append(clipOf(round, 4800)); // a sentence, cut short by Stop
            queue.take(960 + (round % 7) * 2);
            queue.clear();
            QCOMPARE(queue.pending(), 0);
            const QByteArray next = clipOf(round + 1, 900 + round % 50);
            queue.append(next);
            QByteArray heard;
            while (queue.pending() > 0) // taken as the sink asks, a buffer at a time
                heard += queue.take(2 + (round % 3) * 1000);
            QCOMPARE(heard, next); // no tail of the stopped clip, no gap, no repeat
        }
    }

    void anEmptyCacheFileIsAMiss()
    {
        QTemporaryDir folder;
        VoiceCache cache(folder.path());
        Clip clip;
        clip.samples = {1, 2, 3};
        cache.store(QStringLiteral("k"), clip);
        cache.clearMemory();
        QVERIFY(cache.find(QStringLiteral("k")));
        QDirIterator files(folder.path(), QDir::Files, QDirIterator::Subdirectories);
        QVERIFY(files.hasNext());
        QFile(files.next()).resize(0); // what a write cut short leaves
        cache.clearMemory();
        QVERIFY(!cache.find(QStringLiteral("k")));
    }

    void lonesAreReadAsThemselves()
    {
        using Readings::ofLoneCharacter;
        QCOMPARE(ofLoneCharacter("は"), QStringLiteral("ハ"));
        QCOMPARE(ofLoneCharacter("へ"), QStringLiteral("ヘ"));
        QCOMPARE(ofLoneCharacter("ゃ"), QStringLiteral("チイサイヤ"));
        QCOMPARE(ofLoneCharacter("っ"), QStringLiteral("チイサイツ"));
        QCOMPARE(ofLoneCharacter("ー"), QStringLiteral("ノバシボウ"));
        QCOMPARE(ofLoneCharacter("A"), QStringLiteral("エー"));
        QCOMPARE(ofLoneCharacter("q"), QStringLiteral("コモジキュー"));
        QCOMPARE(ofLoneCharacter("7"), QStringLiteral("ナナ"));
        QCOMPARE(ofLoneCharacter("(^_^)"), QStringLiteral("ニコニコ"));
        QCOMPARE(ofLoneCharacter("　"), QString());
        QCOMPARE(ofLoneCharacter("今"), QStringLiteral("今"));
        QCOMPARE(ofLoneCharacter("こんにちは"), QStringLiteral("こんにちは"));
        // Every board character has something to say, or is a deliberate silence.
        QCOMPARE(Readings::clauses("きょうは、いい天気。\nまたね"),
                 (QStringList{"きょうは、", "いい天気。", "またね"}));
        QCOMPARE(Readings::kanaOnly("今日はA"), QStringLiteral("  はA"));
    }

    void clipsFromWavTrimmedAndResampled()
    {
        QByteArray wav(
            "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\x08\0\0\0",
            44);
        const qint16 samples[] = {0, 5000, -5000, 0};
        wav.append(reinterpret_cast<const char *>(samples), 8);
        const auto clip = ClipOps::fromWav(wav);
        QVERIFY(clip);
        QCOMPARE(clip->sampleRate, 22050);
        QCOMPARE(clip->samples.size(), size_t(4));
        QCOMPARE(ClipOps::resampled(*clip).samples.size(), size_t(7));
        QVERIFY(!ClipOps::fromWav("not a wav"));
        // A WAVE with an empty data chunk, and empty bytes, make no sound and no fault.
        QVERIFY(!ClipOps::fromWav(wav.left(40) + QByteArray(4, '\0')));
        QVERIFY(ClipOps::fromBytes(QByteArray()).isEmpty());

        Clip quiet;
        quiet.samples = std::vector<qint16>(48000, 0);
        quiet.samples[24000] = 9000;
        ClipOps::trimSilence(quiet);
        QVERIFY(quiet.seconds() < 0.02); // Open JTalk's leading 0.35 s of silence goes
    }

    void openJTalkSpeaksKanaAndKanji()
    {
        OpenJTalkEngine engine(openJTalkSetup());
        QVERIFY2(engine.unavailableReason().isEmpty(), qPrintable(engine.unavailableReason()));
        QVERIFY(audible(engine.synthesize(QStringLiteral("カ"), notCancelled)));
        const auto sentence = engine.synthesize(QStringLiteral("今日は良い天気です。"), notCancelled);
        QVERIFY(audible(sentence));
        QVERIFY(sentence->seconds() > 0.8);
        QCOMPARE(sentence->sampleRate, Clip::Rate);
    }

    void singleHaAndHeAreNotParticles()
    {
        QTemporaryDir cache;
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<OpenJTalkEngine>(openJTalkSetup()), &audio, QString());
        QCOMPARE(voice.partsOf(QStringLiteral("は")), QStringList{"ハ"});
        QCOMPARE(voice.partsOf(QStringLiteral("へ")), QStringList{"ヘ"});
        OpenJTalkEngine engine(openJTalkSetup());
        const auto ha = engine.synthesize(QStringLiteral("ハ"), notCancelled);
        const auto wa = engine.synthesize(QStringLiteral("ワ"), notCancelled);
        voice.speak(QStringLiteral("は"));
        voice.waitUntilIdle();
        QCOMPARE(audio.count(), size_t(1));
        QVERIFY(audio.clips[0].samples == ha->samples);
        QVERIFY(audio.clips[0].samples != wa->samples);
    }

    void espeakSpeaksKana()
    {
        EspeakEngine engine(1.0, 0, 1.0);
        QVERIFY2(engine.unavailableReason().isEmpty(), qPrintable(engine.unavailableReason()));
        QVERIFY(audible(engine.synthesize(engine.prepared(QStringLiteral("こんにちは")), notCancelled)));
    }

    void requestsPlayInOrderAndCachedOnesAtOnce()
    {
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<EspeakEngine>(1.0, 0, 1.0), &audio, QString());
        voice.speak(QStringLiteral("あ"));
        voice.speak(QStringLiteral("い"));
        voice.speak(QStringLiteral("う"));
        voice.waitUntilIdle();
        QCOMPARE(audio.count(), size_t(3));
        const std::vector<Clip> first = audio.clips;
        QVERIFY(first[0].samples != first[1].samples);
        audio.clear();
        voice.speak(QStringLiteral("う"));
        QCOMPARE(audio.count(), size_t(1)); // ready: played within the call
        QVERIFY(audio.clips[0].samples == first[2].samples);
        voice.speak(QStringLiteral("　")); // a space: silence, not an error
        voice.waitUntilIdle();
        QCOMPARE(audio.count(), size_t(1));
    }

    void stopDropsWaitingAndSynthesis()
    {
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<OpenJTalkEngine>(openJTalkSetup()), &audio, QString());
        voice.speak(QStringLiteral("これはとても長い文です。まだ続きます。さらに続きます。おわりです。"));
        voice.stop();
        voice.waitUntilIdle();
        QCOMPARE(audio.stops, 1);
        QCOMPARE(audio.count(), size_t(0));
        voice.speak(QStringLiteral("か"));
        voice.waitUntilIdle();
        QCOMPARE(audio.count(), size_t(1)); // the voice goes on after a stop
    }

    void failingEnginesNeverTakeTheProgramDown()
    {
        OpenJTalkEngine::Setup missing = openJTalkSetup();
        missing.program = QStringLiteral("no-such-open-jtalk");
        QVERIFY(!OpenJTalkEngine(missing).unavailableReason().isEmpty());
        OpenJTalkEngine::Setup noVoice = openJTalkSetup();
        noVoice.voiceFile = QStringLiteral("/nonexistent.htsvoice");
        QVERIFY(!OpenJTalkEngine(noVoice).unavailableReason().isEmpty());

        OpenJTalkEngine::Setup crashing = openJTalkSetup();
        crashing.program = QStringLiteral("false");
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<OpenJTalkEngine>(crashing), &audio, QString());
        voice.speak(QStringLiteral("か"));
        voice.speak(QStringLiteral("こんにちは。"));
        voice.waitUntilIdle();
        QCOMPARE(audio.count(), size_t(0));
    }

    void diskCacheServesAnotherRun()
    {
        QTemporaryDir dir;
        CaptureAudio audio;
        {
            SpeakingVoice voice(std::make_unique<EspeakEngine>(1.0, 0, 1.0), &audio, dir.path());
            voice.prefetch({QStringLiteral("さ")});
            voice.waitUntilIdle();
            QCOMPARE(audio.count(), size_t(0)); // made, not played
        }
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 1);
        // A new voice finds the clip on disk.
        SpeakingVoice voice(std::make_unique<EspeakEngine>(1.0, 0, 1.0), &audio, dir.path());
        voice.speak(QStringLiteral("さ"));
        voice.waitUntilIdle();
        QCOMPARE(audio.count(), size_t(1));
    }
};

QTEST_MAIN(TestVoice)
#include "test_voice.moc"
