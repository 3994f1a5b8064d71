// From a request to the first audible sample handed to the audio output, per engine.
#include "platform/characterfile.h"
#include "platform/speech/audiooutput.h"
#include "platform/speech/espeakengine.h"
#include "platform/speech/openjtalkengine.h"
#include "platform/speech/speakingvoice.h"
#include "pulsemeasure.h"
#include "support/captureaudio.h"
#include "timing.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QThread>
#include <functional>

namespace {

const QStringList Characters = {"か", "き", "く", "け", "こ", "さ", "し", "す", "せ", "そ",
                                "た", "ち", "つ", "て", "と", "な", "に", "ぬ", "ね", "の"};
const QString Sentence = QStringLiteral("今日は天気が良いので、散歩に行きたいです。");

// Time until the output has received `clips` clips since the request at `start`.
double waitForClips(CaptureAudio &audio, size_t clips, CaptureAudio::Clock::time_point start)
{
    while (audio.count() < clips)
        QThread::usleep(200);
    return std::chrono::duration<double, std::milli>(audio.handedAt[clips - 1] - start).count();
}

void measure(const char *prefix, const std::function<std::unique_ptr<SpeechEngine>()> &makeEngine)
{
    const std::string p(prefix);
    CaptureAudio audio;
    SpeakingVoice voice(makeEngine(), &audio, QString());

    Timings cached, uncached, sentence, stop;
    for (const QString &c : Characters) { // nothing made yet
        audio.clear();
        const auto start = CaptureAudio::Clock::now();
        voice.speak(c);
        waitForClips(audio, 1, start);
        uncached.add(audio.handedAt[0] - start);
    }
    for (int i = 0; i < 200; ++i) {
        audio.clear();
        const auto start = CaptureAudio::Clock::now();
        voice.speak(Characters[i % Characters.size()]);
        waitForClips(audio, 1, start);
        cached.add(audio.handedAt[0] - start);
    }
    for (int i = 0; i < 10; ++i) {
        voice.forgetMemoryCache();
        audio.clear();
        const auto start = CaptureAudio::Clock::now();
        voice.speak(Sentence);
        waitForClips(audio, 1, start);
        sentence.add(audio.handedAt[0] - start);
        voice.waitUntilIdle();
    }
    for (int i = 0; i < 10; ++i) {
        voice.forgetMemoryCache();
        voice.speak(Sentence);
        const auto start = CaptureAudio::Clock::now();
        voice.stop();
        stop.add(audio.stoppedAt - start);
        voice.waitUntilIdle();
    }
    cached.print((p + "char_cached").c_str());
    uncached.print((p + "char_uncached").c_str());
    sentence.print((p + "sentence_first_sound").c_str());
    stop.print((p + "stop").c_str());
}

// Context switches of every thread of this process so far: each is a wake-up.
qint64 contextSwitches()
{
    qint64 total = 0;
    for (const QString &task :
         QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(task));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.contains("ctxt_switches:"))
                total += line.split(':').value(1).trimmed().toLongLong();
    }
    return total;
}

// How long a sentence sounds on the monitor, from its first to its last loud sample.
double soundingMs(SpeakingVoice &voice, MonitorListener &monitor)
{
    monitor.drain();
    QElapsedTimer t;
    t.start();
    voice.speak(Sentence);
    const double start = monitor.waitForSound(t, 5000);
    const double end = monitor.waitForQuiet(t, 600, 20000);
    return end - start;
}

// The same figures through the system's sound output, heard on a sound server's monitor.
void measureThroughServer()
{
    QString why;
    std::unique_ptr<AudioOutput> audio = createSystemAudioOutput(&why);
    std::unique_ptr<MonitorListener> monitor = audio ? MonitorListener::open() : nullptr;
    if (!monitor) {
        std::printf("pulse: not measured (%s)\n", audio ? "no monitor source" : qPrintable(why));
        return;
    }
    OpenJTalkEngine::Setup setup;
    setup.voiceFile = CharacterSheet().voiceFile;
    SpeakingVoice voice(std::make_unique<OpenJTalkEngine>(setup), audio.get(), QString());
    Timings cached, uncached, stop;
    {
        // The program opens its stream at start-up; so does this, before measuring.
        QElapsedTimer t;
        t.start();
        voice.speak(QStringLiteral("あ"));
        monitor->waitForSound(t, 5000);
        monitor->waitForQuiet(t, 200, 5000);
    }
    for (int i = 0; i < 20; ++i) {
        const QString c = Characters[i];
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(c);
        const double ms = monitor->waitForSound(t, 3000);
        if (qEnvironmentVariableIsSet("PIROKAN_BENCH_DEBUG"))
            std::printf("  %s %.1f\n", qPrintable(c), ms);
        uncached.add(std::chrono::nanoseconds(qint64(ms * 1e6)));
        monitor->waitForQuiet(t, 200, 3000);
    }
    for (int i = 0; i < 40; ++i) {
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(Characters[i % Characters.size()]);
        cached.add(std::chrono::nanoseconds(qint64(monitor->waitForSound(t, 3000) * 1e6)));
        monitor->waitForQuiet(t, 200, 3000);
    }
    for (int i = 0; i < 10; ++i) {
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(Sentence);
        monitor->waitForSound(t, 5000);
        QElapsedTimer s;
        s.start();
        voice.stop();
        stop.add(std::chrono::nanoseconds(qint64(monitor->waitForQuiet(s, 150, 3000) * 1e6)));
    }
    // A cached character after a Stop: the stream is never reopened, so no later.
    Timings afterStop;
    for (int i = 0; i < 20; ++i) {
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(Sentence);
        monitor->waitForSound(t, 5000);
        voice.stop();
        monitor->waitForQuiet(t, 150, 5000);
        QElapsedTimer c;
        c.start();
        voice.speak(Characters[i % Characters.size()]);
        afterStop.add(std::chrono::nanoseconds(qint64(monitor->waitForSound(c, 3000) * 1e6)));
        monitor->waitForQuiet(c, 200, 3000);
    }
    cached.print("pulse_char_cached");
    uncached.print("pulse_char_uncached");
    afterStop.print("pulse_char_after_stop");
    stop.print("pulse_stop");

    // Soak: the same sentence sounds as long after many Stops as before the first.
    const int rounds = qEnvironmentVariableIntValue("PIROKAN_SOAK_ROUNDS") > 0
                           ? qEnvironmentVariableIntValue("PIROKAN_SOAK_ROUNDS")
                           : 1000;
    const double before = soundingMs(voice, *monitor);
    for (int i = 0; i < rounds; ++i) {
        QElapsedTimer t;
        t.start();
        voice.speak(i % 2 ? Sentence : Characters[i % Characters.size()]);
        monitor->waitForSound(t, 3000);
        voice.stop();
        monitor->waitForQuiet(t, 30, 3000);
    }
    const double after = soundingMs(voice, *monitor);
    std::printf("pulse_soak rounds=%d before_ms=%.1f after_ms=%.1f ratio=%.3f\n", rounds, before, after,
                after / before);

    // Idle: nothing is said, and nothing should wake the process (the monitor is closed first).
    monitor.reset();
    QThread::msleep(3000);
    const qint64 switches = contextSwitches();
    QThread::msleep(10000); // the audio thread keeps its own event loop meanwhile
    std::printf("pulse_idle_wakeups per_s=%.1f\n", double(contextSwitches() - switches) / 10.0);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    measure("", [] {
        OpenJTalkEngine::Setup setup;
        setup.voiceFile = CharacterSheet().voiceFile;
        return std::make_unique<OpenJTalkEngine>(setup);
    });
    measure("espeak_", [] { return std::make_unique<EspeakEngine>(1.0, 0, 1.0); });
    measureThroughServer();
    return 0;
}
