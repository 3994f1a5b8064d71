// From a request to the first audible sample handed to the audio output, per engine.
#include "platform/characterfile.h"
#include "platform/speech/audiooutput.h"
#include "platform/speech/espeakengine.h"
#include "platform/speech/openjtalkengine.h"
#include "platform/speech/speakingvoice.h"
#include "pulsemeasure.h"
#include "support/captureaudio.h"
#include "timing.h"

#include <QElapsedTimer>
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
    cached.print("pulse_char_cached");
    uncached.print("pulse_char_uncached");
    stop.print("pulse_stop");
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
