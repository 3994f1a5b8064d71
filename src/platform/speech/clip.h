#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <optional>
#include <vector>

// A piece of synthesised speech: mono 16-bit samples at one rate.
struct Clip
{
    static constexpr int Rate = 48000; // every clip is brought to this rate

    std::vector<qint16> samples;
    int sampleRate = Rate;

    bool isEmpty() const { return samples.empty(); }
    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0; }
};

namespace ClipOps {

// The samples of a RIFF/WAVE file of 16-bit mono PCM; empty when it is not one.
std::optional<Clip> fromWav(const QByteArray &wav);
// Cuts the quiet before and after the voice, keeping a few milliseconds of edge.
void trimSilence(Clip &clip, int threshold = 200);
// Brings a clip to Clip::Rate by linear interpolation.
Clip resampled(const Clip &clip);
void scaleVolume(Clip &clip, double volume);

QByteArray toBytes(const Clip &clip);
Clip fromBytes(const QByteArray &bytes, int sampleRate = Clip::Rate);

} // namespace ClipOps
