#pragma once

#include "platform/speech/clip.h"

#include <QString>
#include <atomic>
#include <optional>

// Turns text into speech. Synthesis runs on the voice's worker thread and
// gives up soon after `cancelled` becomes true.
class SpeechEngine
{
public:
    virtual ~SpeechEngine() = default;
    // Engine, voice and parameters: clips made with another key sound different.
    virtual QString key() const = 0;
    // Why the engine cannot speak here; empty when it can.
    virtual QString unavailableReason() const = 0;
    // Text the engine can read: some engines read kana only.
    virtual QString prepared(const QString &text) const { return text; }
    // Work made ahead of time yields the processor to everything else.
    virtual void setLowPriority(bool) {}
    // Empty when nothing could be made (or it was cancelled).
    virtual std::optional<Clip> synthesize(const QString &text, const std::atomic_bool &cancelled) = 0;
};
