#pragma once

#include <QtGlobal>

// When a recording ends by itself, and when the microphone hears nothing:
// fed the samples as they come, in windows of 10 ms.
class RecordingRule
{
public:
    enum class State { Listening, Speaking, EndedBySilence, NothingHeard };

    static constexpr int SilenceAfterSpeechMs = 1200;
    static constexpr int LongestSeconds = 120; // a take ends here, and no longer sound is banked
    static constexpr int NothingHeardMs = 5000;
    static constexpr int SpeechMs = 100;  // this much sound above the threshold is speech, not a click
    static constexpr int Threshold = 330; // about -40 dBFS, a window's RMS

    explicit RecordingRule(int sampleRate);
    State feed(const qint16 *samples, size_t count);
    State state() const { return m_state; }
    // The loudest window of the last feed, 0 to 1, for the meter.
    double level() const { return m_level; }
    qint64 samplesSeen() const { return m_seen; }

private:
    void window(double rms);

    int m_windowSize;
    State m_state = State::Listening;
    double m_sum = 0;
    int m_inWindow = 0;
    int m_loudMs = 0;
    int m_quietMs = 0;
    qint64 m_seen = 0;
    double m_level = 0;
};
