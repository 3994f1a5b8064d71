#pragma once

#include <QList>
#include <QString>
#include <optional>

class SettingsStore;

// The synthetic voice brought closer to the user's: its pitch in half-tones and
// its speed, chosen in the options. Unset, the character file's values stand.
struct VoiceAdjust
{
    std::optional<double> pitch; // -12..12 half-tones
    std::optional<double> speed; // 0.5..2.0

    static QList<double> pitchChoices() { return {-6, -4, -2, 0, 2, 4, 6}; }
    static QList<double> speedChoices() { return {0.7, 0.85, 1.0, 1.15, 1.3, 1.5}; }
};

// Keys "VoicePitch" and "VoiceSpeed"; a value missing or out of range is unset.
VoiceAdjust ReadVoiceAdjust(const SettingsStore &store);
bool WriteVoiceAdjust(SettingsStore &store, const VoiceAdjust &adjust, QString *error);
