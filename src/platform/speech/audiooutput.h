#pragma once

#include "platform/speech/clip.h"

#include <functional>
#include <memory>

// Where clips are played. Play queues a clip after those already waiting;
// Stop drops them all and ends the sound. Both may be called from any thread.
class AudioOutput
{
public:
    virtual ~AudioOutput() = default;
    virtual void play(const Clip &clip) = 0;
    virtual void stop() = 0;
    virtual bool isPlaying() const = 0;
    // Called with false when waiting clips were dropped because no sound could be
    // made, and with true when sound is made again after that. It may come from any
    // thread, within play() too, and must not call back into the output.
    virtual void setHealthHandler(std::function<void(bool heard)>) {}
};

// The system's sound server (PulseAudio, or PipeWire's PulseAudio service)
// through one stream that stays open, on a thread of its own with a buffer of
// tens of milliseconds. It rebuilds its stream when the stream stands still or
// fails, and reconnects when the server comes back. whyNot tells why nothing
// can be heard yet (the output keeps trying); null only when no output can be made at all.
// The voice's output gives up on a server that plays nothing for a second;
// a call's waits longer, until its next chime would replace it. Each stream is
// named for what it plays, so that the sound server's mixer shows them apart.
enum class SoundUse { Voice, Call };
// Waits a moment for the server's first answer, to tell in `whyNot` that none came; an output
// opened on a press (nothing to play yet) need not wait, as it plays once the server answers.
enum class FirstAnswer { Wait, DoNotWait };
std::unique_ptr<AudioOutput> createSystemAudioOutput(QString *whyNot, SoundUse use = SoundUse::Voice,
                                                     FirstAnswer first = FirstAnswer::Wait);
