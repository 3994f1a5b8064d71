// From a request to the first audible sample handed to the audio output, per engine; and the memory
// and cache a long day of new sentences leaves behind.
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
#include <QTemporaryDir>
#include <QThread>
#include <functional>
#include <random>

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
    return start < 0 || end < 0 ? -1 : end - start;
}

// Wake-ups per second of this process over the next `ms`, after a settling time.
double wakeupsPerSecond(int ms)
{
    QThread::msleep(2000);
    const qint64 switches = contextSwitches();
    QThread::msleep(ms);
    return double(contextSwitches() - switches) * 1000.0 / ms;
}

int envInt(const char *name, int fallback)
{
    const int v = qEnvironmentVariableIntValue(name);
    return v > 0 ? v : fallback;
}

// Stops the server, keeps it away for a while (presses meanwhile are dropped, and
// the voice is not left "speaking"), starts it again and presses, as a user
// would, until a character is heard. Milliseconds from its return; -1 when never.
double restartServer(ScratchServer &server, std::unique_ptr<MonitorListener> &monitor, SpeakingVoice &voice)
{
    monitor.reset();
    server.stop();
    QElapsedTimer away;
    away.start();
    while (away.elapsed() < 1500) {
        voice.speak(Characters[0]);
        QThread::msleep(100);
    }
    QElapsedTimer cleared;
    cleared.start();
    while (voice.isSpeaking() && cleared.elapsed() < 5000)
        QThread::msleep(5);
    std::printf("outage_speaking_cleared_ms value=%lld\n", cleared.elapsed());
    QElapsedTimer up;
    if (!server.start().isEmpty() || !(monitor = MonitorListener::open()))
        return -1;
    up.start();
    // The server is back when another program's sound is heard through it.
    if (!ScratchServer::playTone())
        return -1;
    std::printf("server_restart_tone_heard_ms value=%lld\n", up.elapsed());
    QElapsedTimer back;
    back.start();
    for (int i = 0; back.elapsed() < 10000; ++i) {
        monitor->drain();
        voice.speak(Characters[i % Characters.size()]);
        QElapsedTimer t;
        t.start();
        if (monitor->waitForSound(t, 50) >= 0)
            return back.nsecsElapsed() / 1e6;
    }
    return -1;
}

// The same figures through a real sound server, heard on its monitor.
void measureThroughServer()
{
    ScratchServer server;
    const bool own = qgetenv("PIROKAN_BENCH_SERVER") != "system";
    if (own) {
        const QString why = server.start();
        if (!why.isEmpty()) {
            std::printf("pulse: not measured (%s)\n", qPrintable(why));
            return;
        }
        qputenv("PULSE_SERVER", server.address());
        ScratchServer::playTone();
    }
    std::unique_ptr<MonitorListener> monitor = MonitorListener::open();
    QString why;
    std::unique_ptr<AudioOutput> audio = monitor ? createSystemAudioOutput(&why) : nullptr;
    if (!audio || !why.isEmpty()) {
        std::printf("pulse: not measured (%s)\n", monitor ? qPrintable(why) : "no monitor source");
        return;
    }
    OpenJTalkEngine::Setup setup;
    setup.voiceFile = CharacterSheet().voiceFile;
    SpeakingVoice voice(std::make_unique<OpenJTalkEngine>(setup), audio.get(), QString());
    Timings cached, uncached, stop;
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

    // Soak: speak, Stop at a random moment into the sound, and the next clip must be
    // heard within a second, round after round, across a restart of the server.
    const int rounds = envInt("PIROKAN_SOAK_ROUNDS", 5000);
    const double before = soundingMs(voice, *monitor);
    std::mt19937 random(envInt("PIROKAN_SOAK_SEED", 1));
    std::uniform_int_distribution<int> moment(0, 600);
    Timings heardAfterStop, silentAfterStop;
    int silent = 0;
    int silentInARow = 0;
    double recovery = -1;
    QElapsedTimer soak;
    soak.start();
    for (int i = 0; i < rounds && silentInARow < 20; ++i) { // a dead voice ends the soak
        if (own && i == rounds / 2) {
            recovery = restartServer(server, monitor, voice);
            if (!monitor)
                break;
            continue;
        }
        monitor->drain();
        QElapsedTimer t;
        t.start();
        voice.speak(i % 4 == 0 ? Sentence : Characters[i % Characters.size()]);
        const double heard = monitor->waitForSound(t, 1000);
        if (heard < 0) {
            ++silent;
            ++silentInARow;
            if (qEnvironmentVariableIsSet("PIROKAN_BENCH_DEBUG"))
                std::printf("  round %d silent\n", i);
            voice.stop();
            continue;
        }
        silentInARow = 0;
        if (i > 0)
            heardAfterStop.add(std::chrono::nanoseconds(qint64(heard * 1e6)));
        monitor->listenUntil(t, int(heard) + moment(random));
        QElapsedTimer s;
        s.start();
        voice.stop();
        silentAfterStop.add(std::chrono::nanoseconds(qint64(monitor->waitForQuiet(s, 20, 1000) * 1e6)));
    }
    const double after = monitor ? soundingMs(voice, *monitor) : -1;
    std::printf("pulse_soak rounds=%d before_ms=%.1f after_ms=%.1f ratio=%.3f seconds=%.0f\n", rounds, before,
                after, after / before, soak.elapsed() / 1000.0);
    std::printf("soak_silent_rounds value=%d\n", silent);
    std::printf("soak_duration_ratio value=%.3f\n", after / before);
    heardAfterStop.print("pulse_after_stop");
    silentAfterStop.print("soak_stop_silent");
    std::printf("server_restart_recovery_ms value=%.1f\n", recovery);

    // Idle: nothing is said, and nothing should wake the process (the monitor is closed first).
    monitor.reset();
    const double idle = wakeupsPerSecond(10000);
    std::printf("pulse_idle_wakeups per_s=%.1f\n", idle);
    std::printf("idle_wakeups_per_s value=%.1f\n", idle);
    if (own) { // and while the server is away, trying to reach it again
        server.stop();
        std::printf("idle_wakeups_no_server_per_s value=%.1f\n", wakeupsPerSecond(5000));
    }
    std::fflush(stdout);
}

// The process's resident memory in MB.
double residentMb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toDouble() * 4096 / (1024 * 1024) : 0;
}

// A long day's talk: every sentence new, each made and kept by the cache. Memory and the cache's
// folder must level off, not grow with every sentence.
void aDayOfSentences()
{
    QTemporaryDir folder;
    CaptureAudio audio;
    SpeakingVoice voice(std::make_unique<EspeakEngine>(1.0, 0, 1.0), &audio, folder.path());
    const auto folderMb = [&] {
        qint64 bytes = 0;
        for (const QFileInfo &f : QDir(folder.path()).entryInfoList(QDir::Files))
            bytes += f.size();
        return double(bytes) / (1024 * 1024);
    };
    constexpr int Sentences = 1600, Report = 400;
    const double start = residentMb();
    for (int i = 1; i <= Sentences; ++i) {
        voice.speak(QStringLiteral("今日は%1番目の文を言います。ありがとう。").arg(i));
        voice.waitUntilIdle();
        audio.clear(); // what a speaker has played is gone
        if (i % Report == 0)
            std::printf("voice_day sentences=%d resident_growth_mb=%.0f cache_folder_mb=%.0f\n", i,
                        residentMb() - start, folderMb());
    }
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // a soak's progress shows as it goes, even into a file
    measure("", [] {
        OpenJTalkEngine::Setup setup;
        setup.voiceFile = CharacterSheet().voiceFile;
        return std::make_unique<OpenJTalkEngine>(setup);
    });
    measure("espeak_", [] { return std::make_unique<EspeakEngine>(1.0, 0, 1.0); });
    measureThroughServer();
    aDayOfSentences();
    return 0;
}
