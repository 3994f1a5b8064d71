#include "platform/speech/clip.h"

#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace ClipOps {

std::optional<Clip> fromWav(const QByteArray &wav)
{
    if (wav.size() < 12 || !wav.startsWith("RIFF") || wav.mid(8, 4) != "WAVE")
        return std::nullopt;
    qsizetype pos = 12;
    int rate = 0, channels = 0, bits = 0;
    while (pos + 8 <= wav.size()) {
        const QByteArray id = wav.mid(pos, 4);
        const quint32 size = qFromLittleEndian<quint32>(wav.constData() + pos + 4);
        const qsizetype body = pos + 8;
        if (id == "fmt " && body + 16 <= wav.size()) {
            channels = qFromLittleEndian<quint16>(wav.constData() + body + 2);
            rate = int(qFromLittleEndian<quint32>(wav.constData() + body + 4));
            bits = qFromLittleEndian<quint16>(wav.constData() + body + 14);
        } else if (id == "data") {
            if (channels != 1 || bits != 16 || rate <= 0)
                return std::nullopt;
            const qsizetype n = std::min<qsizetype>(size, wav.size() - body) / 2;
            Clip clip;
            clip.sampleRate = rate;
            if (n <= 0)
                return std::nullopt; // no sound in it
            clip.samples.resize(size_t(n));
            std::memcpy(clip.samples.data(), wav.constData() + body, size_t(n) * 2);
            return clip;
        }
        pos = body + qsizetype(size) + (size & 1);
    }
    return std::nullopt;
}

void trimSilence(Clip &clip, int threshold)
{
    auto loud = [threshold](qint16 s) { return std::abs(int(s)) >= threshold; };
    const auto first = std::find_if(clip.samples.begin(), clip.samples.end(), loud);
    if (first == clip.samples.end()) {
        clip.samples.clear();
        return;
    }
    const auto last = std::find_if(clip.samples.rbegin(), clip.samples.rend(), loud).base();
    const qsizetype margin = clip.sampleRate / 200; // 5 ms, so the voice does not start with a click
    const qsizetype begin = std::max<qsizetype>(0, (first - clip.samples.begin()) - margin);
    const qsizetype end =
        std::min<qsizetype>(qsizetype(clip.samples.size()), (last - clip.samples.begin()) + margin);
    clip.samples = std::vector<qint16>(clip.samples.begin() + begin, clip.samples.begin() + end);
}

Clip resampled(const Clip &clip)
{
    if (clip.sampleRate == Clip::Rate || clip.sampleRate <= 0 || clip.samples.empty())
        return clip;
    Clip out;
    const double step = double(clip.sampleRate) / Clip::Rate;
    const size_t n = size_t(std::floor((clip.samples.size() - 1) / step)) + 1;
    out.samples.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const double x = i * step;
        const size_t a = size_t(x);
        const size_t b = std::min(a + 1, clip.samples.size() - 1);
        const double f = x - double(a);
        out.samples[i] = qint16(std::lround(clip.samples[a] * (1 - f) + clip.samples[b] * f));
    }
    return out;
}

void scaleVolume(Clip &clip, double volume)
{
    if (volume >= 0.999)
        return;
    for (qint16 &s : clip.samples)
        s = qint16(std::lround(s * std::clamp(volume, 0.0, 1.0)));
}

QByteArray toBytes(const Clip &clip)
{
    return QByteArray(reinterpret_cast<const char *>(clip.samples.data()),
                      qsizetype(clip.samples.size() * 2));
}

Clip fromBytes(const QByteArray &bytes, int sampleRate)
{
    Clip clip;
    clip.sampleRate = sampleRate;
    clip.samples.resize(size_t(bytes.size() / 2));
    if (!clip.samples.empty())
        std::memcpy(clip.samples.data(), bytes.constData(), clip.samples.size() * 2);
    return clip;
}

} // namespace ClipOps
