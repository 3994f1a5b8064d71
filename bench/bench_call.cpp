// From a call's start to its chime heard on a sound server's monitor.
#include "access/callcontroller.h"
#include "platform/speech/audiooutput.h"
#include "pulsemeasure.h"
#include "timing.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <cstdio>

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    QString why;
    // The call has an output of its own, opened at start-up as the program does.
    std::unique_ptr<AudioOutput> audio = createSystemAudioOutput(&why);
    std::unique_ptr<MonitorListener> monitor = audio ? MonitorListener::open() : nullptr;
    if (!monitor) {
        std::printf("call_chime_latency: not measured (%s)\n", audio ? "no monitor source" : qPrintable(why));
        return 0;
    }
    // The monitor itself takes a second or more to deliver its first sound; let it settle first.
    for (int i = 0; i < 10; ++i)
        monitor->drain();
    CallController call;
    call.setOutput(audio.get());
    Timings latency;
    for (int i = 0; i < 31; ++i) {
        monitor->drain();
        QElapsedTimer t;
        t.start();
        call.start(CallController::Way::Key);
        const double ms = monitor->waitForSound(t, 3000);
        call.acknowledge();
        monitor->waitForQuiet(t, 150, 3000);
        if (ms < 0) {
            std::printf("call_chime_latency: no chime heard in round %d (output %s)\n", i,
                        audio->isPlaying() ? "playing" : "idle");
            return 1;
        }
        if (i == 0) {
            // The first call after start-up, told apart.
            std::printf("call_chime_first ms=%.1f\n", ms);
            continue;
        }
        latency.add(std::chrono::nanoseconds(qint64(ms * 1e6)));
    }
    latency.print("call_chime_latency");
    return 0;
}
