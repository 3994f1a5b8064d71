#pragma once

#include "platform/speech/audiooutput.h"

#include <QStringList>
#include <chrono>
#include <mutex>
#include <vector>

// An audio output that keeps what it is given, and when: the moment a clip is
// handed over is when its first audible sample would reach the speaker.
class CaptureAudio final : public AudioOutput
{
public:
    using Clock = std::chrono::steady_clock;

    void play(const Clip &clip) override
    {
        std::lock_guard lock(m_mutex);
        clips.push_back(clip);
        handedAt.push_back(Clock::now());
    }
    void stop() override
    {
        std::lock_guard lock(m_mutex);
        ++stops;
        stoppedAt = Clock::now();
    }
    bool isPlaying() const override { return false; }
    void setHealthHandler(std::function<void(bool heard)> handler) override { health = std::move(handler); }

    size_t count() const
    {
        std::lock_guard lock(m_mutex);
        return clips.size();
    }
    void clear()
    {
        std::lock_guard lock(m_mutex);
        clips.clear();
        handedAt.clear();
    }

    std::vector<Clip> clips;
    std::vector<Clock::time_point> handedAt;
    Clock::time_point stoppedAt;
    int stops = 0;
    std::function<void(bool heard)> health;

private:
    mutable std::mutex m_mutex;
};
