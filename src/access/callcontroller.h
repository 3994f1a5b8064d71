#pragma once

#include "platform/commandhook.h"
#include "platform/speech/clip.h"
#include "shared/callsettings.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

class AudioOutput;

// The call for help: a chime on an output of its own, over any speech and
// whether or not a voice engine works, again every two seconds until someone
// answers (any press) or the call's time is up, and the carer's bell command
// run with "start" and "stop" beside it.
class CallController final : public QObject
{
    Q_OBJECT
public:
    static constexpr int RepeatMs = 2000;
    enum class Way { Key, Scanning, Dwell, Accessible, SwitchHold };
    enum class End { Answered, TimedOut };
    Q_ENUM(Way)
    Q_ENUM(End)

    explicit CallController(QObject *parent = nullptr);
    // A call still sounding is ended quietly, so that the bell is told "stop".
    ~CallController() override;

    // Where the chime sounds (not owned; it outlives the controller); none: there is no sound output.
    // Where the chime sounds; an output that cannot make it heard is told as a problem.
    void setOutput(AudioOutput *output);
    void setHook(std::unique_ptr<CommandHook> hook);
    // Stops the voice mid-word, so the chime is not heard under it.
    void setStopSpeech(std::function<void()> stop) { m_stopSpeech = std::move(stop); }
    // Milliseconds on a steady clock; tests give their own.
    void setClock(std::function<qint64()> nowMs) { m_now = std::move(nowMs); }
    // Stops the timers, so that a test drives every tick itself.
    void setManualTicks(bool manual);
    void apply(const CallSettings &settings);
    const CallSettings &settings() const { return m_settings; }

    // Nothing when the call is off or already sounding.
    void start(Way way);
    // Any press while the call sounds ends it; true when this one did, and so
    // is taken by the call, not by what was under it.
    bool acknowledge();
    bool isCalling() const { return m_calling; }

    // The repeat timer's tick: the chime again, or the end when the time is up.
    void tick();

    static QString noSoundMessage();
    static QString hookMessage(const CommandHook::Failure &failure);

signals:
    // Shown over the whole window while the call sounds.
    void started(CallController::Way way);
    void ended(CallController::End why);
    // What the cover says is wrong, in Japanese, each time it changes: the chime could not
    // sound, or the bell's command failed; empty when the chime is heard again and nothing else is.
    // After the call, the bell's failure alone.
    void problem(const QString &message);

private:
    void ring();
    void finish(End why, bool quietly);
    void report(const QString &message);
    void soundHeard(bool heard);
    QString shownProblem() const;
    qint64 now() const { return m_now ? m_now() : m_clock.elapsed(); }

    CallSettings m_settings;
    Clip m_chime;
    AudioOutput *m_output = nullptr;
    std::unique_ptr<CommandHook> m_hook;
    std::function<void()> m_stopSpeech;
    std::function<qint64()> m_now;
    QElapsedTimer m_clock;
    QTimer m_repeat;
    QTimer m_limit;
    bool m_manual = false;
    bool m_calling = false;
    bool m_reported = false; // one message a call about the bell is enough
    bool m_soundLost = false;
    QString m_hookProblem;
    qint64 m_startedAt = 0;
};
