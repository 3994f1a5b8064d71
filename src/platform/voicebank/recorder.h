#pragma once

#include "platform/speech/clip.h"
#include "platform/voicebank/recordingrule.h"
#include "platform/voicebank/soundinput.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <mutex>

// One recording from the input: it ends by a press or by itself after the
// silence that follows speech, and tells when the microphone hears nothing.
// What arrives from the input's thread is taken on this object's thread.
class Recorder final : public QObject
{
    Q_OBJECT
public:
    // NoSound: the input delivered nothing at all (a device gone quiet), not even a hiss.
    enum class End { ByPress, BySilence, NothingHeard, NoSound, Cancelled };
    static constexpr int NoSoundMs = 3000;

    explicit Recorder(SoundInput &input, QObject *parent = nullptr);
    ~Recorder() override;

    bool start(const QString &source, QString *why);
    // start() in two halves, for an input that may take long to open: prepare() readies a
    // recording and gives where the samples go, the input is started with it (on any thread),
    // and begin() then takes what has arrived since.
    SoundInput::Samples prepare();
    void begin();
    void finish(); // the press that ends it
    void cancel();
    bool isRecording() const { return m_recording; }
    // What was heard, trimmed and levelled to the voice; empty when no voice was heard.
    const Clip &recorded() const { return m_result; }
    double seconds() const;
    // Takes what has arrived; a timer calls it while recording, tests call it directly.
    void poll();
    // The clock that tells an input gone quiet, in milliseconds; tests set their own.
    void setClock(std::function<qint64()> nowMs) { m_nowMs = std::move(nowMs); }

signals:
    void progress(double level, double seconds);
    void ended(Recorder::End how);

private:
    void end(End how);

    SoundInput &m_input;
    QTimer m_timer;
    std::mutex m_mutex;
    std::vector<qint16> m_arrived; // from the input's thread
    Clip m_raw;
    Clip m_result;
    RecordingRule m_rule{Clip::Rate};
    bool m_recording = false;
    std::function<qint64()> m_nowMs;
    qint64 m_lastSoundMs = 0;
};
