#pragma once

#include <QString>

class SettingsStore;

// The call for help, kept in its own section ("Call") of the settings store.
struct CallSettings
{
    bool enabled = true;     // "呼び出しを使う": the key, its scan group and the long press
    int volumePercent = 100; // 10..100, the chime's own volume, apart from the voice's
    int durationS = 60;      // 10..600, how long an unanswered call goes on
    QString command;         // the carer's bell: a command line, run with "start" and "stop"
};

// Reads the section; a value that is missing, garbled or out of range reads as its default.
CallSettings ReadCallSettings(const SettingsStore &store);
// Writes what the dialogs set. The command belongs to whoever edits the
// settings file, so it is never written back.
bool WriteCallSettings(SettingsStore &store, const CallSettings &settings, QString *error);
