#pragma once

#include "platform/speech/clip.h"

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
};

// The system's default sound output through Qt Multimedia, on a thread of its
// own with a buffer of tens of milliseconds. Null when there is no output device.
std::unique_ptr<AudioOutput> createSystemAudioOutput(QString *whyNot);
