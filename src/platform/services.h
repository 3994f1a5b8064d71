#pragma once

#include <QDate>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QWidget>

// Small services the program reaches the desktop through. Each has the real
// implementation here and is replaced by a recording fake in tests.

class Agent;
class ConversionEngine;
class LearningStore;
class WordList;
class AudioOutput;
class EntryStorage;
class LoginStart;
class ModalRunner;
class SettingsStore;
class SoundInput;
class VoiceBank;

class Beeper
{
public:
    virtual ~Beeper() = default;
    virtual void beep() = 0;
};

class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual void clear() = 0;
    virtual void setText(const QString &text) = 0;
    virtual QString text() const = 0;
};

class Shell
{
public:
    virtual ~Shell() = default;
    // Hands a link to the desktop; false when nothing took it.
    virtual bool open(const QUrl &url) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() const = 0;
};

class SystemBeeper final : public Beeper
{
public:
    void beep() override;
};

class SystemClipboard final : public Clipboard
{
public:
    void clear() override;
    void setText(const QString &text) override;
    QString text() const override;
};

class DesktopShell final : public Shell
{
public:
    bool open(const QUrl &url) override;
};

class SystemClock final : public Clock
{
public:
    QDate today() const override { return QDate::currentDate(); }
};

// The services, as whoever creates the window chose them (the real ones, or fakes in tests).
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
    LoginStart *login = nullptr;     // none: the options offer no start at login
    SettingsStore *access = nullptr; // the ways of pressing; none: touch and mouse only
    // Kanji candidates: the engine, what the user's writing taught, the care vocabulary (each may be none).
    ConversionEngine *conversion = nullptr;
    LearningStore *learnt = nullptr;
    const WordList *vocabulary = nullptr;
    SettingsStore *call = nullptr; // the call for help; none: there is no call
    AudioOutput *chime = nullptr;  // the call's own sound output; none: there is no sound
    QString devicesFile;           // the room's devices; empty: no devices screen
    // The user's recorded voice and where recordings come from; none: no recordings.
    VoiceBank *bank = nullptr;
    SoundInput *input = nullptr;
};

// The screen-wide mouse pointer: the wait pointer (code 11) or the default (code 0).
namespace ScreenPointer {
void setWait();
void setDefault();
} // namespace ScreenPointer

// While a handler works: the wait pointer (when asked) and its window disabled
// (when one is given). Both come back when the scope ends, on every path.
class BusyScope
{
public:
    explicit BusyScope(QWidget *disabled = nullptr, bool waitPointer = true);
    ~BusyScope();
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

private:
    QPointer<QWidget> m_disabled;
    bool m_waitPointer;
};
