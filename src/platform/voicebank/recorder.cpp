#include "platform/voicebank/recorder.h"

#include "platform/voicebank/levelling.h"
#include "platform/voicebank/soundinput.h"

#include <chrono>

namespace {

constexpr int PollMs = 40; // the meter moves smoothly, the silence rule reacts in time

} // namespace

Recorder::Recorder(SoundInput &input, QObject *parent) : QObject(parent), m_input(input)
{
    m_nowMs = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    m_timer.setInterval(PollMs);
    connect(&m_timer, &QTimer::timeout, this, &Recorder::poll);
}

Recorder::~Recorder()
{
    m_input.stop();
}

bool Recorder::start(const QString &source, QString *why)
{
    if (!m_input.start(source, prepare(), why))
        return false;
    begin();
    return true;
}

SoundInput::Samples Recorder::prepare()
{
    cancel();
    m_raw = Clip{};
    m_result = Clip{};
    m_rule = RecordingRule(Clip::Rate);
    {
        std::lock_guard lock(m_mutex);
        m_arrived.clear();
    }
    return [this](const qint16 *samples, size_t count) {
        std::lock_guard lock(m_mutex);
        m_arrived.insert(m_arrived.end(), samples, samples + count);
    };
}

void Recorder::begin()
{
    m_recording = true;
    m_lastSoundMs = m_nowMs();
    m_timer.start();
}

double Recorder::seconds() const
{
    return m_raw.seconds();
}

void Recorder::poll()
{
    if (!m_recording)
        return;
    std::vector<qint16> taken;
    {
        std::lock_guard lock(m_mutex);
        taken.swap(m_arrived);
    }
    // A stalled device sends nothing, and a rule that counts samples would wait for ever.
    if (const qint64 now = m_nowMs(); !taken.empty())
        m_lastSoundMs = now;
    else if (now - m_lastSoundMs >= NoSoundMs)
        return end(End::NoSound);
    m_raw.samples.insert(m_raw.samples.end(), taken.begin(), taken.end());
    const auto state = m_rule.feed(taken.data(), taken.size());
    emit progress(m_rule.level(), seconds());
    if (state == RecordingRule::State::EndedBySilence)
        end(End::BySilence);
    else if (state == RecordingRule::State::NothingHeard)
        end(End::NothingHeard);
    else if (seconds() >= RecordingRule::LongestSeconds)
        end(End::ByPress);
}

void Recorder::finish()
{
    if (!m_recording)
        return;
    poll();
    if (m_recording)
        end(End::ByPress);
}

void Recorder::cancel()
{
    if (m_recording)
        end(End::Cancelled);
}

void Recorder::end(End how)
{
    m_timer.stop();
    m_input.stop();
    m_recording = false;
    if (how == End::BySilence || how == End::ByPress) {
        const Clip voice = Levelling::trimmed(m_raw);
        m_result = voice.isEmpty() ? voice : Levelling::levelled(voice);
    }
    emit ended(how);
}
