#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <optional>
#include <vector>

// A piece of speech: mono 16-bit samples at one rate.
struct Clip
{
    static constexpr int Rate = 48000; // every clip is brought to this rate

    std::vector<qint16> samples;
    int sampleRate = Rate;

    bool isEmpty() const { return samples.empty(); }
    double seconds() const { return sampleRate > 0 ? double(samples.size()) / sampleRate : 0; }
};

namespace ClipOps {

// The most channels a sound file may have: more is not a voice recording.
constexpr int MaxChannels = 2;

// Any sound file libsndfile reads (WAV, FLAC, Ogg Vorbis/Opus, MP3), stereo mixed
// to mono, at its own rate. Empty, with the reason in Japanese, when it is not one
// or holds no sound. With `maxSeconds`, a longer sound is refused before it is read whole.
std::optional<Clip> decode(const QByteArray &bytes, QString *why = nullptr, int maxSeconds = 0);
// The clip as a FLAC file; empty when it cannot be made.
QByteArray toFlac(const Clip &clip);
// Cuts the quiet before and after the voice, keeping a few milliseconds of edge.
void trimSilence(Clip &clip, int threshold = 200);
// Brings a clip to `rate` through libsoxr.
Clip resampled(const Clip &clip, int rate = Clip::Rate);
void scaleVolume(Clip &clip, double volume);

QByteArray toBytes(const Clip &clip);
Clip fromBytes(const QByteArray &bytes, int sampleRate = Clip::Rate);

} // namespace ClipOps
