#include "platform/voicebank/levelling.h"

#include <algorithm>
#include <cmath>
#include <ebur128.h>

namespace Levelling {

std::optional<double> loudness(const Clip &clip)
{
    if (clip.samples.empty() || clip.sampleRate <= 0)
        return std::nullopt;
    ebur128_state *state = ebur128_init(1, unsigned(clip.sampleRate), EBUR128_MODE_I);
    if (!state)
        return std::nullopt;
    double lufs = -HUGE_VAL;
    const bool measured =
        ebur128_add_frames_short(state, clip.samples.data(), clip.samples.size()) == EBUR128_SUCCESS &&
        ebur128_loudness_global(state, &lufs) == EBUR128_SUCCESS;
    ebur128_destroy(&state);
    if (!measured || !std::isfinite(lufs))
        return std::nullopt;
    return lufs;
}

Clip trimmed(const Clip &clip)
{
    const int window = std::max(1, clip.sampleRate / 100); // 10 ms
    const size_t windows = clip.samples.size() / size_t(window);
    if (windows == 0)
        return Clip{{}, clip.sampleRate};
    std::vector<double> rms(windows);
    for (size_t w = 0; w < windows; ++w) {
        double sum = 0;
        for (int i = 0; i < window; ++i) {
            const double s = clip.samples[w * size_t(window) + size_t(i)];
            sum += s * s;
        }
        rms[w] = std::sqrt(sum / window);
    }
    // Voice is what stands well above the quietest stretch and above a floor of -50 dBFS.
    const double floor = *std::min_element(rms.begin(), rms.end());
    const double loudest = *std::max_element(rms.begin(), rms.end());
    const double threshold = std::max({std::min(floor * 4, loudest * 0.25), 32767 * 0.00316, loudest * 0.02});
    const auto first = std::find_if(rms.begin(), rms.end(), [&](double r) { return r >= threshold; });
    if (first == rms.end())
        return Clip{{}, clip.sampleRate};
    const auto last = std::find_if(rms.rbegin(), rms.rend(), [&](double r) { return r >= threshold; });
    // Soft onsets and fading ends are kept: 50 ms before, 150 ms after.
    const qsizetype begin = std::max<qsizetype>(0, (first - rms.begin() - 5) * window);
    const qsizetype end =
        std::min<qsizetype>(qsizetype(clip.samples.size()), (rms.rend() - last + 15) * qsizetype(window));
    Clip out;
    out.sampleRate = clip.sampleRate;
    out.samples.assign(clip.samples.begin() + begin, clip.samples.begin() + end);
    return out;
}

Clip levelled(const Clip &clip, double lufs)
{
    const auto measured = loudness(clip);
    if (!measured)
        return clip;
    int peak = 0;
    for (const qint16 s : clip.samples)
        peak = std::max(peak, std::abs(int(s)));
    double gain = std::pow(10.0, (lufs - *measured) / 20.0);
    if (peak > 0)
        gain = std::min(gain, double(PeakLimit) / peak);
    Clip out = clip;
    for (qint16 &s : out.samples)
        s = qint16(std::clamp<long>(std::lround(s * gain), -32768, 32767));
    return out;
}

} // namespace Levelling
