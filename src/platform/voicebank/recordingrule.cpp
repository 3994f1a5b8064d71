#include "platform/voicebank/recordingrule.h"

#include <algorithm>
#include <cmath>

RecordingRule::RecordingRule(int sampleRate) : m_windowSize(std::max(1, sampleRate / 100)) {}

void RecordingRule::window(double rms)
{
    const bool loud = rms >= Threshold;
    m_level = std::max(m_level, std::min(1.0, rms / 8000.0));
    if (m_state == State::Listening) {
        m_loudMs = loud ? m_loudMs + 10 : 0;
        if (m_loudMs >= SpeechMs) {
            m_state = State::Speaking;
            m_quietMs = 0;
        } else if (m_seen * 1000 / (m_windowSize * 100) >= NothingHeardMs) {
            m_state = State::NothingHeard;
        }
    } else if (m_state == State::Speaking) {
        m_quietMs = loud ? 0 : m_quietMs + 10;
        if (m_quietMs >= SilenceAfterSpeechMs)
            m_state = State::EndedBySilence;
    }
}

RecordingRule::State RecordingRule::feed(const qint16 *samples, size_t count)
{
    m_level = 0;
    for (size_t i = 0; i < count; ++i) {
        m_sum += double(samples[i]) * samples[i];
        ++m_seen;
        if (++m_inWindow == m_windowSize) {
            window(std::sqrt(m_sum / m_windowSize));
            m_sum = 0;
            m_inWindow = 0;
        }
    }
    return m_state;
}
