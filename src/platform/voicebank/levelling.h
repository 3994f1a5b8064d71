#pragma once

#include "platform/speech/clip.h"

// What is done to a recording before it is kept: its silences cut and its
// loudness brought to the synthetic voice's.
namespace Levelling {

// Open JTalk's voice measured over sentences: recordings are brought to it.
constexpr double VoiceLufs = -20.0;
// The peak a levelled clip never passes (-1 dBFS).
constexpr int PeakLimit = 29200;

// Integrated loudness (EBU R128) in LUFS; nullopt for silence or a clip too short to measure.
std::optional<double> loudness(const Clip &clip);
// The clip without the quiet before and after the voice (a short margin kept);
// empty when nothing in it stands above the noise.
Clip trimmed(const Clip &clip);
// The clip brought to `lufs`, lowered further where that would clip.
Clip levelled(const Clip &clip, double lufs = VoiceLufs);

} // namespace Levelling
