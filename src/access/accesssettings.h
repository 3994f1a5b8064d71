#pragma once

#include <QColor>
#include <QString>

class SettingsStore;

// How the user reaches the controls, kept in its own section ("Access") of the
// settings store. The defaults keep touch and mouse exactly as they are.
struct AccessSettings
{
    enum Method { Touch = 0, DwellMethod = 1, OneSwitch = 2, TwoSwitch = 3 };

    int method = Touch;
    int dwellMs = 1000;        // 300..3000
    int scanMs = 1200;         // 300..5000
    bool columnFirst = false;  // the kana board by columns (kana rows) first
    bool columnBlocks = false; // with columnFirst: the columns in blocks of three first
    bool pickFirst = false;    // the selection screen starts on the character pressed
    int longPressMs = 0;       // 0: off; else 500..3000, a long press goes back one level
    int selectKey = Qt::Key_Space;
    int moveKey = Qt::Key_Return;
    bool mouseSwitch = false; // a click of any mouse button is the select switch
    int highlight = 0;        // 0 magenta, 1 orange, 2 yellow
    bool speakScan = false;   // the voice names what the highlight reaches
    int ignoreRepeatMs = 0;   // 0: off; else 100..2000
    int holdMs = 0;           // 0: off; else 50..2000
    int firstRepeatMs = 230;  // 230..2000, the first repeat of a held key
    int callHoldMs = 4000;    // 2000..10000, holding the select switch this long calls for help

    bool scanning() const { return method == OneSwitch || method == TwoSwitch; }
    QColor highlightColor() const;
};

// Reads the section; a value that is missing, garbled or out of range reads as its default.
AccessSettings ReadAccessSettings(const SettingsStore &store);
// Two switches on one key: moving would take every press and nothing could
// be chosen. Such settings are used as one switch on the select key.
bool SwitchesClash(const AccessSettings &settings);
AccessSettings WithoutSwitchClash(AccessSettings settings);
// What to tell the user when the stored switches clash; empty when they do not.
QString SwitchClashNotice(const SettingsStore &store);
// The key that, held for EscapeHoldMs, opens the access dialog whatever the settings.
constexpr int EscapeKey = Qt::Key_Escape;
constexpr int EscapeHoldMs = 3000;
// Writes every key at once; false, saying why, when they were not kept.
bool WriteAccessSettings(SettingsStore &store, const AccessSettings &settings, QString *error);

// A key's name as stored ("Space", "Return", "F5"), and back; 0 for a name that is no key.
QString KeyName(int key);
int KeyFromName(const QString &name);
