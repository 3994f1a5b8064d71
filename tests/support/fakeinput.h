#pragma once

#include "platform/voicebank/soundinput.h"

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

// An input that yields exactly the samples a test feeds it.
class FakeInput final : public SoundInput
{
public:
    QList<Source> sources() override { return offered; }
    bool start(const QString &source, Samples onSamples, QString *why) override
    {
        while (hold) // a sound server that does not answer yet
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (!available) {
            *why = QStringLiteral("マイクが見つかりません。");
            return false;
        }
        startedWith = source;
        m_samples = std::move(onSamples);
        return true;
    }
    void stop() override { m_samples = nullptr; }
    bool running() const { return bool(m_samples); }

    // `seconds` of a 220 Hz tone at `amplitude` (0: a faint hiss), in 20 ms deliveries.
    void feed(double seconds, double amplitude)
    {
        const int n = int(seconds * 48000);
        std::vector<qint16> chunk;
        for (int i = 0; i < n && m_samples; ++i) {
            chunk.push_back(amplitude > 0 ? qint16(amplitude * std::sin(2 * M_PI * 220 * m_phase++ / 48000))
                                          : qint16((i * 7919 % 41) - 20));
            if (chunk.size() == 960 || i + 1 == n) {
                m_samples(chunk.data(), chunk.size());
                chunk.clear();
            }
        }
    }

    bool available = true;
    std::atomic_bool hold = false;
    QList<Source> offered{{QStringLiteral("fake"), QStringLiteral("テスト用の入力")}};
    QString startedWith;

private:
    Samples m_samples;
    long m_phase = 0;
};
