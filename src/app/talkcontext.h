#pragma once

#include "app/settings.h"

#include <QString>
#include <QStringList>
#include <optional>

class Agent;
class Beeper;
class Character;
class Clipboard;
class Clock;
class ModalRunner;
class SettingsStore;
class Shell;
class EntryStorage;
class TalkWindow;
class KeyRepeat;
class LoginStart;

// The services the program reaches the desktop through; whoever creates the
// window chooses them (the real ones, or fakes in tests).
struct Services
{
    SettingsStore *settings = nullptr;
    Agent *agent = nullptr;
    Beeper *beeper = nullptr;
    Clipboard *clipboard = nullptr;
    Shell *shell = nullptr;
    Clock *clock = nullptr;
    ModalRunner *modal = nullptr;
    EntryStorage *entries = nullptr;
    LoginStart *login = nullptr; // none: the options offer no start at login
};

// The program-wide state beside the main window's controls, and the window itself.
struct TalkContext
{
    TalkWindow *w = nullptr;
    Services sv;

    Settings settings;
    QString gAppPath;
    Character *gCharacter = nullptr;
    qint32 gListRow = 0;
    qint32 EditRow = 0;
    QString gPickText;
    QString gLastPick;
    bool OKAnswer = false;
    std::optional<QStringList> SampleTexts;
    QString gMailName;
    QString gMailAddr;

    // Form variables of the main window.
    qint32 boardRow = 0;
    qint32 boardCol = 0;
    qint32 pickRow = 0;
    qint32 pickCol = 0;
    bool keyHeld = false;
    KeyRepeat *keyRepeat = nullptr; // repeats held keys

    // Sounds the key beep when the option is on.
    void keyBeep();
};
