#include "platform/speech/chime.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Partial
{
    double ratio; // of the strike's pitch
    double level;
    double decaySeconds; // time to fall to 1/e
};

// A tubular bell's overtones: the higher ones are softer and die sooner, which
// is what makes it ring rather than buzz.
constexpr Partial BellPartials[] = {
    {1.0, 1.0, 0.55}, {2.0, 0.55, 0.35}, {3.0, 0.3, 0.22}, {4.2, 0.16, 0.14}, {5.4, 0.08, 0.09}};

constexpr double DingHz = 659.26; // E5
constexpr double DongHz = 523.25; // C5, a major third below
constexpr double DongAt = 0.42;   // seconds
constexpr double Length = 1.5;
constexpr double AttackSeconds = 0.002; // long enough not to click, short enough to be heard at once
constexpr double FadeSeconds = 0.05;

double strike(double pitch, double t)
{
    if (t < 0)
        return 0;
    double v = 0;
    for (const Partial &p : BellPartials)
        v += p.level * std::exp(-t / p.decaySeconds) * std::sin(2 * std::numbers::pi * pitch * p.ratio * t);
    return v * std::min(1.0, t / AttackSeconds);
}

} // namespace

Clip ChimeClip(double volume)
{
    const int n = int(Length * Clip::Rate);
    std::vector<double> wave(static_cast<size_t>(n));
    double peak = 0;
    for (int i = 0; i < n; ++i) {
        const double t = double(i) / Clip::Rate;
        double v = strike(DingHz, t) + strike(DongHz, t - DongAt);
        v *= std::clamp((Length - t) / FadeSeconds, 0.0, 1.0);
        wave[size_t(i)] = v;
        peak = std::max(peak, std::abs(v));
    }
    const double scale = 0.95 * 32767 * std::clamp(volume, 0.0, 1.0) / peak;
    Clip clip;
    clip.samples.resize(size_t(n));
    for (int i = 0; i < n; ++i)
        clip.samples[size_t(i)] = qint16(std::lround(wave[size_t(i)] * scale));
    return clip;
}
