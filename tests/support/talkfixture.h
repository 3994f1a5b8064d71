#pragma once

#include "app/talkprogram.h"
#include "app/talkwindow.h"
#include "platform/controls.h"
#include "platform/conversion/learningstore.h"
#include "platform/conversion/wordlist.h"
#include "platform/entrystorage.h"
#include "platform/grid.h"
#include "platform/settingsstore.h"
#include "platform/textbox.h"
#include "support/captureaudio.h"
#include "support/failingstorage.h"
#include "support/fakeconversion.h"
#include "support/fakes.h"

#include <QTemporaryDir>
#include <array>
#include <memory>

class QDialog;
class QPushButton;

// The main window as tests reach it: every control found by its objectName.
class TestTalkWindow final : public TalkWindow
{
public:
    TestTalkWindow();

#define PIROKAN_TEST_CONTROL(Type, name) Type *name = nullptr;
    PIROKAN_TALK_CONTROLS(PIROKAN_TEST_CONTROL)
#undef PIROKAN_TEST_CONTROL
    std::array<ColorButton *, 5> cmdRes; // by index

    const TalkState *state = nullptr; // the program's, once it is built
};

// The mode the window's state is in.
Mode CurrentMode(const TestTalkWindow &w);

// A main window started as the program starts it, on fakes and a temporary
// program folder, never on the user's settings or files.
class TalkFixture
{
public:
    // Settings to store before start-up, as key/value pairs; with the call, it
    // has its store and its chime is caught.
    explicit TalkFixture(const QHash<QString, QString> &stored = {}, bool start = true,
                         bool withCall = false);
    ~TalkFixture();

    bool start(QString *error = nullptr);

    TestTalkWindow &window() { return *m_window; }
    TalkProgram &program() { return *m_program; }
    SharedState &shared() { return m_program->shared; }

    MemorySettingsStore settings;
    MemorySettingsStore accessSettings; // the "Access" section
    MemorySettingsStore callSettings;   // the "Call" section
    CaptureAudio chime;
    RecordingAgent agent;
    CountingBeeper beeper;
    MemoryClipboard clipboard;
    RecordingShell shell;
    FixedClock clock;
    ScriptedRunner modal;
    QTemporaryDir folder;
    FailingEntryStorage entries{folder.path()};
    FakeConversion conversion; // the kanji candidates, used only when their option is on
    LearningStore learnt{folder.filePath(LearningStore::FileName)};
    WordList vocabulary;

    // An entry file's entries, written before start-up or read back after a save.
    void writeEntries(const QString &name, const QStringList &entries);
    QStringList readEntries(const QString &name);
    // Types text as the board would leave it: the text with the marker highlighted.
    void typed(const QString &textWithMarker);

    // Queues an answer to the next confirmation dialog: button 0 (yes/OK) or 1, and records its prompt.
    void answerOk(int button);
    QStringList prompts;

    // Presses a control as a user does: down, then up over it.
    static void press(QWidget *widget);
    // Presses a grid cell.
    static void pressCell(class Grid *grid, int row, int col);

private:
    std::unique_ptr<TestTalkWindow> m_window;
    std::unique_ptr<TalkProgram> m_program;
};

// The button of a control array with the given index.
QPushButton *arrayButton(QWidget *parent, const QString &name, int index);
