#include "platform/characterfile.h"
#include "platform/speech/clip.h"
#include "platform/speech/espeakengine.h"
#include "platform/speech/openjtalkengine.h"
#include "platform/speech/pcmqueue.h"
#include "platform/speech/readings.h"
#include "platform/speech/speakingvoice.h"
#include "platform/speech/speechengine.h"
#include "platform/speech/streamkeeper.h"
#include "platform/speech/voicecache.h"
#include "support/captureaudio.h"

#include <QDirIterator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <mutex>

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

// A server's stream on a fake clock: it plays 96 bytes a millisecond, unless it
// is stuck (takes bytes, plays none) or fails; a server that is away fails every open.
class FakeStream final : public SoundStream
{
public:
    static constexpr qint64 Room = 3840; // 40 ms

    bool serverUp = true;
    bool stuck = false; // until the stream is rebuilt
    int opens = 0;
    QByteArray heard;

    void fail() { m_state = State::Failed; }
    void open() override
    {
        ++opens;
        m_state = serverUp ? State::Ready : State::Failed;
        stuck = false;
        m_held.clear();
        m_played = 0;
    }
    State state() const override { return m_state; }
    qint64 writable() const override { return std::max<qint64>(0, Room - m_held.size()); }
    void write(const QByteArray &bytes) override { m_held += bytes; }
    void flush() override { m_held.clear(); }
    qint64 played() const override { return m_played; }
    qint64 held() const override { return m_held.size(); }
    void askProgress() override {}
    void advance(int ms)
    {
        if (m_state != State::Ready || stuck)
            return;
        const qsizetype n = std::min<qsizetype>(m_held.size(), 96 * ms);
        heard += m_held.left(n);
        m_held.remove(0, n);
        m_played += n;
    }

private:
    State m_state = State::Closed;
    QByteArray m_held;
    qint64 m_played = 0;
};

// The keeper over a fake stream, as the voice's output; time passes only in run().
class FakeServerOutput final : public AudioOutput
{
public:
    FakeStream stream;
    std::vector<bool> health;

    FakeServerOutput()
    {
        m_keeper.setHealthHandler([this](bool heard) { health.push_back(heard); });
    }
    void play(const Clip &clip) override
    {
        std::lock_guard lock(m_mutex);
        m_queue.append(ClipOps::toBytes(clip));
        m_keeper.service(m_now);
    }
    void stop() override
    {
        std::lock_guard lock(m_mutex);
        m_keeper.stop();
    }
    bool isPlaying() const override
    {
        std::lock_guard lock(m_mutex);
        return m_keeper.isPlaying();
    }
    void setHealthHandler(std::function<void(bool)> handler) override
    {
        std::lock_guard lock(m_mutex);
        m_keeper.setHealthHandler(std::move(handler));
    }
    // Lets ms pass in steps of 10 ms; the last wake-up asked for.
    int run(int ms)
    {
        std::lock_guard lock(m_mutex);
        int wait = m_keeper.service(m_now);
        for (int t = 0; t < ms; t += 10) {
            m_now += 10;
            stream.advance(10);
            wait = m_keeper.service(m_now);
        }
        return wait;
    }
    void markLost()
    {
        std::lock_guard lock(m_mutex);
        m_keeper.markLost();
    }
    void vanish()
    {
        std::lock_guard lock(m_mutex);
        stream.serverUp = false;
        stream.fail();
    }

private:
    mutable std::mutex m_mutex;
    PcmQueue m_queue;
    StreamKeeper m_keeper{stream, m_queue};
    qint64 m_now = 0;
};

Clip toneOf(double seconds)
{
    Clip c;
    c.samples.assign(size_t(Clip::Rate * seconds), 3000);
    return c;
}

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

    void aStreamThatStandsStillOrFailsIsRebuiltAndGoesOn()
    {
        FakeServerOutput out;
        const qsizetype clip = qsizetype(toneOf(0.5).samples.size()) * 2;
        for (int fault = 0; fault < 2; ++fault) {
            out.stream.heard.clear();
            out.play(toneOf(0.5));
            out.run(100);
            if (fault == 0)
                out.stream.stuck = true; // takes bytes, plays none
            else
                out.stream.fail();
            out.run(StreamKeeper::StallMs + 20);
            QCOMPARE(out.stream.opens, 2 + fault); // rebuilt, once
            out.run(1000);
            QVERIFY(!out.isPlaying());
            // Only what the broken stream held is lost; the rest of the clip is heard.
            QVERIFY(out.stream.heard.size() >= clip - FakeStream::Room);
        }
        QVERIFY(out.health.empty()); // nothing was dropped
        QCOMPARE(out.run(0), -1);    // idle: nothing to wake up for
    }

    void aServerThatGoesAwayIsWaitedForAndWhatWaitsIsDropped()
    {
        FakeServerOutput out;
        out.play(toneOf(2));
        out.run(100);
        out.vanish(); // in mid-sentence
        out.run(StreamKeeper::GiveUpMs + 100);
        QVERIFY(!out.isPlaying()); // so the window can show that reading has ended
        QCOMPARE(out.health, std::vector<bool>{false});
        const int opens = out.stream.opens;
        out.run(3000);
        QVERIFY(out.stream.opens - opens <= 3000 / StreamKeeper::RetryMs + 1); // tried now and then, no more
        QVERIFY(out.stream.opens - opens >= 3000 / StreamKeeper::RetryMs - 1);
        out.play(toneOf(0.1)); // while it is away: dropped at once
        QVERIFY(!out.isPlaying());
        QCOMPARE(out.health.size(), size_t(2));

        out.stream.serverUp = true;
        out.run(StreamKeeper::RetryMs + 10);
        out.stream.heard.clear();
        out.play(toneOf(0.1));
        out.run(200);
        QCOMPARE(out.stream.heard.size(), qsizetype(toneOf(0.1).samples.size() * 2));
        QCOMPARE(out.health.back(), true);

        // No server at start (told then), one that comes before anything was dropped: the first sound
        // heard says so, or a loss after it would never be told.
        FakeServerOutput late;
        late.stream.serverUp = false;
        late.run(100);
        late.markLost();
        late.play(toneOf(0.1));
        late.stream.serverUp = true;
        late.run(StreamKeeper::RetryMs + 200);
        QCOMPARE(late.health, std::vector<bool>{true});
    }

    void aLostOutputIsToldOnceAndTheVoiceComesBack()
    {
        FakeServerOutput out;
        out.run(10);
        SpeakingVoice voice(std::make_unique<ToneEngine>(), &out, QString());
        std::atomic_int told{0};
        voice.setFailureHandler([&told] { ++told; });
        const auto say = [&](const QString &text) {
            voice.speak(text);
            voice.waitUntilIdle();
            out.run(10);
        };
        say(QStringLiteral("きょうは、いいてんき。"));
        QVERIFY(voice.isSpeaking());
        out.vanish();
        out.run(StreamKeeper::GiveUpMs + 100);
        QVERIFY(!voice.isSpeaking()); // not left "reading" with nothing to be heard
        for (int i = 1; i < SpeakingVoice::FailuresToReport; ++i)
            say(QStringLiteral("か"));
        QCOMPARE(told.load(), 1);
        say(QStringLiteral("き"));
        QCOMPARE(told.load(), 1); // once, while it stays away

        out.stream.serverUp = true;
        out.run(StreamKeeper::RetryMs + 10);
        out.stream.heard.clear();
        say(QStringLiteral("く"));
        out.run(200);
        QVERIFY(!out.stream.heard.isEmpty());
        out.vanish(); // lost again later: told again
        out.run(StreamKeeper::GiveUpMs + 100);
        for (int i = 0; i < SpeakingVoice::FailuresToReport; ++i)
            say(QStringLiteral("け"));
        QCOMPARE(told.load(), 2);
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

    // Every sentence said is kept: a day's talk must neither fill the memory or the disk, nor be
    // readable by anyone but the user.
    void theCacheStaysWithinItsBoundsAndIsTheUsersAlone()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("voice"));
        constexpr qint64 ClipBytes = 10000;
        VoiceCache cache(folder, {.memoryBytes = 20 * ClipBytes, .diskBytes = 50 * ClipBytes});
        Clip clip;
        clip.samples.assign(ClipBytes / 2, 7);
        const auto folderBytes = [&] {
            qint64 total = 0;
            for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::Files))
                total += f.size();
            return total;
        };
        cache.store(QStringLiteral("か"), clip);
        cache.store(QStringLiteral("き"), clip); // made ahead, not said since
        cache.keepReady(QStringLiteral("き"));
        for (int i = 0; i < 200; ++i) {
            cache.store(QStringLiteral("sentence %1").arg(i), clip);
            QVERIFY(cache.inMemory(QStringLiteral("か"))); // said again and again, as a character is
            QVERIFY(cache.memoryBytes() <= 20 * ClipBytes);
            QVERIFY(folderBytes() <= 50 * ClipBytes);
        }
        // What is used stays; what went from memory but not from disk is read again.
        QVERIFY(!cache.inMemory(QStringLiteral("sentence 180")));
        QVERIFY(cache.find(QStringLiteral("sentence 180")));
        QVERIFY(!cache.find(QStringLiteral("sentence 0")));
        QVERIFY(cache.inMemory(QStringLiteral("き")));
        VoiceCache nextRun(folder);
        QVERIFY(nextRun.find(QStringLiteral("か")) && nextRun.find(QStringLiteral("き")));
        QVERIFY(nextRun.find(QStringLiteral("sentence 199")));

        constexpr auto UserOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
        QCOMPARE(QFile::permissions(folder) & 0x7077, UserOnly | QFileDevice::ExeOwner);
        for (const QFileInfo &f : QDir(folder).entryInfoList(QDir::Files))
            QCOMPARE(f.permissions() & 0x7077, UserOnly);

        // One long reading is not kept in memory, where it would push every character out.
        Clip lecture;
        lecture.samples.assign(size_t(6 * ClipBytes), 7);
        cache.store(QStringLiteral("lecture"), lecture);
        QVERIFY(!cache.inMemory(QStringLiteral("lecture")) && cache.inMemory(QStringLiteral("か")));
        QVERIFY(cache.find(QStringLiteral("lecture")));
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

    void clipsDecodedTrimmedAndResampled()
    {
        QByteArray wav(
            "RIFF\0\0\0\0WAVEfmt \x10\0\0\0\x01\0\x01\0\x22\x56\0\0\x44\xac\0\0\x02\0\x10\0data\x08\0\0\0",
            44);
        const qint16 samples[] = {0, 5000, -5000, 0};
        wav.append(reinterpret_cast<const char *>(samples), 8);
        const auto clip = ClipOps::decode(wav);
        QVERIFY(clip);
        QCOMPARE(clip->sampleRate, 22050);
        QCOMPARE(clip->samples, (std::vector<qint16>{0, 5000, -5000, 0}));
        QString why;
        QVERIFY(!ClipOps::decode("not a wav", &why));
        QVERIFY(!why.isEmpty());
        // A WAVE with an empty data chunk, and empty bytes, make no sound and no fault.
        QVERIFY(!ClipOps::decode(wav.left(40) + QByteArray(4, '\0')));
        QVERIFY(!ClipOps::decode(QByteArray()));
        QVERIFY(ClipOps::fromBytes(QByteArray()).isEmpty());

        // A second of a 440 Hz tone at 22050 Hz keeps its length and its loudness at 48 kHz.
        Clip tone;
        tone.sampleRate = 22050;
        for (int i = 0; i < 22050; ++i)
            tone.samples.push_back(qint16(10000 * std::sin(2 * M_PI * 440 * i / 22050.0)));
        const Clip up = ClipOps::resampled(tone);
        QCOMPARE(up.sampleRate, Clip::Rate);
        QVERIFY(std::abs(int(up.samples.size()) - 48000) <= 2);
        const auto peak = *std::max_element(up.samples.begin() + 1000, up.samples.end() - 1000);
        QVERIFY2(peak > 9800 && peak < 10200, qPrintable(QString::number(peak)));

        // Through FLAC and back, sample for sample.
        const auto back = ClipOps::decode(ClipOps::toFlac(tone));
        QVERIFY(back);
        QCOMPARE(back->sampleRate, 22050);
        QCOMPARE(back->samples, tone.samples);

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
