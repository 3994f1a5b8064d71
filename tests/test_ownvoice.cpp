#include "platform/speech/readings.h"
#include "platform/speech/speakingvoice.h"
#include "platform/speech/speechengine.h"
#include "platform/voicebank/levelling.h"
#include "platform/voicebank/recorder.h"
#include "platform/voicebank/voicebank.h"
#include "support/captureaudio.h"
#include "support/fakeinput.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <thread>

namespace {

// Makes a clip of a level of its own for every text, and keeps what it was asked.
class CountingEngine final : public SpeechEngine
{
public:
    QString key() const override { return QStringLiteral("counting|") + pitch; }
    QString unavailableReason() const override { return {}; }
    std::optional<Clip> synthesize(const QString &text, const std::atomic_bool &) override
    {
        std::lock_guard lock(mutex);
        asked << text;
        Clip c;
        c.samples.assign(Clip::Rate / 10, qint16(1000 + asked.size()));
        return c;
    }
    QStringList askedFor()
    {
        std::lock_guard lock(mutex);
        return asked;
    }

    std::mutex mutex;
    QStringList asked;
    QString pitch = QStringLiteral("0"); // as a real engine's key carries its parameters
};

Clip level(qint16 value, double seconds = 0.2)
{
    Clip c;
    c.samples.assign(size_t(seconds * Clip::Rate), value);
    return c;
}

// What the output was handed, as levels: 0 for a pause.
QList<int> heard(const CaptureAudio &audio)
{
    QList<int> out;
    for (const Clip &c : audio.clips)
        out << (c.samples.empty() ? -1 : int(c.samples[c.samples.size() / 2]));
    return out;
}

} // namespace

class TestOwnVoice : public QObject
{
    Q_OBJECT

private slots:
    void aMixedSentencePlaysBankedAndSynthesisedPiecesInOrder()
    {
        QTemporaryDir dir;
        VoiceBank bank(dir.filePath("bank"));
        QString error;
        QVERIFY(bank.keep(QStringLiteral("おはよう"), BankEntry::Kind::Phrase, level(7000), &error));
        QVERIFY(bank.keep(QStringLiteral("ありがとう。"), BankEntry::Kind::Phrase, level(8000), &error));
        auto engine = std::make_unique<CountingEngine>();
        CountingEngine *asked = engine.get();
        CaptureAudio audio;
        SpeakingVoice voice(std::move(engine), &audio, QString());
        voice.setBank(&bank);

        // A banked piece first is handed over within the press itself.
        voice.speak(QStringLiteral("おはよう！今日は、寒いね。\nありがとう_"));
        QVERIFY(audio.count() >= 1);
        voice.waitUntilIdle();
        QTRY_COMPARE(audio.count(), size_t(7));
        // Recording, pause, two synthesised clauses with their pause, pause, recording: nothing after the
        // last.
        QCOMPARE(heard(audio), (QList<int>{7000, 0, 1001, 0, 1002, 0, 8000}));
        QCOMPARE(asked->askedFor(), (QStringList{"今日は、", "寒いね。"}));
    }

    // An import from the command line while the program runs is heard without
    // opening the recordings window; a save under way is never waited on.
    void recordingsAddedByAnotherRunAreHeardSoon()
    {
        QTemporaryDir dir;
        VoiceBank bank(dir.filePath("bank"));
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<CountingEngine>(), &audio, QString());
        voice.setBank(&bank);
        VoiceBank other(dir.filePath("bank"));
        QString error;
        QVERIFY(other.keep(QStringLiteral("か"), BankEntry::Kind::Kana, level(6000, 0.1), &error));
        QTRY_VERIFY_WITH_TIMEOUT(bank.has(QStringLiteral("か"), BankEntry::Kind::Kana), 8000);
        voice.speak(QStringLiteral("か"));
        voice.waitUntilIdle();
        QTRY_COMPARE(heard(audio), QList<int>{6000});
        QVERIFY(!bank.refreshUnlessBusy()); // nothing new since
    }

    void theEchoUsesARecordedKanaAndTheEngineForTheRest()
    {
        QTemporaryDir dir;
        VoiceBank bank(dir.filePath("bank"));
        QString error;
        QVERIFY(bank.keep(QStringLiteral("か"), BankEntry::Kind::Kana, level(6000, 0.1), &error));
        auto engine = std::make_unique<CountingEngine>();
        CountingEngine *asked = engine.get();
        CaptureAudio audio;
        SpeakingVoice voice(std::move(engine), &audio, QString());
        voice.setBank(&bank);
        voice.speak(QStringLiteral("カ")); // the katakana board says the same sound
        QCOMPARE(audio.count(), size_t(1));
        QCOMPARE(heard(audio), QList<int>{6000});
        voice.speak(QStringLiteral("き"));
        voice.waitUntilIdle();
        QTRY_COMPARE(audio.count(), size_t(2));
        QCOMPARE(asked->askedFor(), QStringList{"キ"});
        // A recorded kana is not a phrase: "か" inside a sentence is synthesised.
        QVERIFY(!bank.has(QStringLiteral("か"), BankEntry::Kind::Phrase));
    }

    void aRecordingThatCannotBeReadIsSaidByTheEngine()
    {
        QTemporaryDir dir;
        QString error;
        {
            VoiceBank bank(dir.filePath("bank"));
            QVERIFY(bank.keep(QStringLiteral("水を下さい"), BankEntry::Kind::Phrase, level(7000), &error));
        }
        for (const QString &f : QDir(dir.filePath("bank")).entryList({QStringLiteral("*.flac")}))
            QVERIFY(QFile::remove(dir.filePath("bank/" + f)));
        VoiceBank bank(dir.filePath("bank"));
        QVERIFY(bank.load(&error));
        auto engine = std::make_unique<CountingEngine>();
        CountingEngine *asked = engine.get();
        CaptureAudio audio;
        SpeakingVoice voice(std::move(engine), &audio, QString());
        voice.setBank(&bank);
        voice.speak(QStringLiteral("水を下さい。"));
        voice.waitUntilIdle();
        QTRY_COMPARE(audio.count(), size_t(1));
        QCOMPARE(asked->askedFor().size(), 1);
    }

    void recordingsAreReadIntoMemoryWhileTheVoiceIsIdle()
    {
        QTemporaryDir dir;
        QString error;
        {
            VoiceBank bank(dir.filePath("bank"));
            QVERIFY(bank.keep(QStringLiteral("はい"), BankEntry::Kind::Phrase, level(7000), &error));
            QVERIFY(bank.keep(QStringLiteral("あ"), BankEntry::Kind::Kana, level(6000), &error));
        }
        VoiceBank bank(dir.filePath("bank"));
        QVERIFY(bank.load(&error));
        QVERIFY(!bank.cachedClip(QStringLiteral("あ"), BankEntry::Kind::Kana));
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<CountingEngine>(), &audio, QString());
        voice.setBank(&bank);
        QTRY_VERIFY(bank.cachedClip(QStringLiteral("あ"), BankEntry::Kind::Kana));
        QTRY_VERIFY(bank.cachedClip(QStringLiteral("はい"), BankEntry::Kind::Phrase));
        voice.speak(QStringLiteral("はい。"));
        QCOMPARE(audio.count(), size_t(1)); // within the press, from memory
    }

    void aLongFirstClauseIsMadeInTwoSoTheFirstSoundComesSooner()
    {
        QCOMPARE(Readings::firstPhraseEnd(QStringLiteral("今日は天気が良いので、")), 3);
        QCOMPARE(Readings::firstPhraseEnd(QStringLiteral("カレーが食べたい")), 4);
        QCOMPARE(Readings::firstPhraseEnd(QStringLiteral("きょうはいいてんきです")), -1); // no word to end
        QCOMPARE(Readings::firstPhraseEnd(QStringLiteral("今日は。")), -1);               // nothing to gain
        auto engine = std::make_unique<CountingEngine>();
        CountingEngine *asked = engine.get();
        CaptureAudio audio;
        SpeakingVoice voice(std::move(engine), &audio, QString());
        voice.speak(QStringLiteral("今日は天気が良いので、散歩に行きたいです。"));
        voice.waitUntilIdle();
        QTRY_COMPARE(audio.count(), size_t(4));
        QCOMPARE(asked->askedFor(), (QStringList{"今日は", "天気が良いので、", "散歩に行きたいです。"}));
        // No pause inside the clause; the pause between clauses as before.
        QCOMPARE(heard(audio), (QList<int>{1001, 1002, 0, 1003}));
    }

    void anotherEngineSpeaksFromTheNextRequest()
    {
        CaptureAudio audio;
        SpeakingVoice voice(std::make_unique<CountingEngine>(), &audio, QString());
        voice.speak(QStringLiteral("き"));
        voice.waitUntilIdle();
        auto second = std::make_unique<CountingEngine>();
        CountingEngine *asked = second.get();
        asked->pitch = QStringLiteral("2");
        voice.setEngine(std::move(second));
        voice.speak(QStringLiteral("き")); // made anew: the old engine's clip is not the new voice
        voice.waitUntilIdle();
        QTRY_COMPARE(audio.count(), size_t(2));
        QCOMPARE(asked->askedFor(), QStringList{"キ"});
    }

    void theEngineChangesEvenWhileWorkAheadIsBeingMade()
    {
        // Made ahead of time, given way when asked: the change must not wait for a queue to empty.
        class Blocking final : public SpeechEngine
        {
        public:
            QString key() const override { return QStringLiteral("blocking"); }
            QString unavailableReason() const override { return {}; }
            std::optional<Clip> synthesize(const QString &, const std::atomic_bool &cancelled) override
            {
                inside = true;
                while (!cancelled)
                    std::this_thread::yield();
                return std::nullopt;
            }
            std::atomic_bool inside{false};
        };
        auto blocking = std::make_unique<Blocking>();
        Blocking *engine = blocking.get();
        CaptureAudio audio;
        SpeakingVoice voice(std::move(blocking), &audio, QString());
        voice.prefetch({QStringLiteral("あ"), QStringLiteral("い")});
        QTRY_VERIFY(engine->inside);
        voice.setEngine(std::make_unique<CountingEngine>());
        voice.speak(QStringLiteral("う"));
        voice.waitUntilIdle();
        QTRY_VERIFY(audio.count() >= 1);
    }

    void aRecordingEndsByItselfAfterSilenceThatFollowsSpeech()
    {
        FakeInput input;
        Recorder recorder(input);
        QSignalSpy ended(&recorder, &Recorder::ended);
        QString why;
        QVERIFY(recorder.start(QStringLiteral("mic"), &why));
        QCOMPARE(input.startedWith, QStringLiteral("mic"));
        // Quiet before speaking never ends it, even for longer than the silence rule.
        input.feed(2.0, 0);
        recorder.poll();
        QVERIFY(recorder.isRecording());
        input.feed(1.0, 4000);
        input.feed(1.0, 0); // a pause within speech
        recorder.poll();
        QVERIFY(recorder.isRecording());
        input.feed(0.5, 4000);
        input.feed(1.3, 0);
        recorder.poll();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].value<Recorder::End>(), Recorder::End::BySilence);
        QVERIFY(!input.running());
        // Trimmed to the speech (2.5 s with its inner pause and the margins) and levelled to the voice.
        const Clip &clip = recorder.recorded();
        QVERIFY2(clip.seconds() > 2.4 && clip.seconds() < 2.8, qPrintable(QString::number(clip.seconds())));
        QVERIFY(std::abs(*Levelling::loudness(clip) - Levelling::VoiceLufs) < 1.0);
    }

    void aMicrophoneThatHearsNothingIsToldAndAPressEndsTheRecording()
    {
        FakeInput input;
        Recorder recorder(input);
        QSignalSpy ended(&recorder, &Recorder::ended);
        QSignalSpy progress(&recorder, &Recorder::progress);
        QString why;
        QVERIFY(recorder.start(QString(), &why));
        input.feed(4.9, 0);
        recorder.poll();
        QVERIFY(recorder.isRecording());
        input.feed(0.2, 0);
        recorder.poll();
        QCOMPARE(ended.size(), 1);
        QCOMPARE(ended[0][0].value<Recorder::End>(), Recorder::End::NothingHeard);
        QVERIFY(recorder.recorded().isEmpty());
        QVERIFY(!progress.isEmpty());

        QVERIFY(recorder.start(QString(), &why));
        input.feed(0.8, 6000);
        recorder.finish();
        QCOMPARE(ended.size(), 2);
        QCOMPARE(ended[1][0].value<Recorder::End>(), Recorder::End::ByPress);
        QVERIFY(recorder.recorded().seconds() > 0.7);
        QVERIFY(progress.last()[0].toDouble() > 0.3); // the meter moved

        input.available = false;
        QVERIFY(!recorder.start(QString(), &why));
        QVERIFY(why.contains(QStringLiteral("マイク")));
        QVERIFY(!recorder.isRecording());
    }
};

QTEST_MAIN(TestOwnVoice)
#include "test_ownvoice.moc"
