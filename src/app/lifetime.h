#pragma once

#include <QString>
#include <functional>

struct SharedState;
class Board;
class EntryFiles;
class KanaIndexRows;
class TalkWindow;
class QWidget;
class Sentence;

// Start-up, the exit button and the options.
class Lifetime
{
public:
    Lifetime(TalkWindow &w, Sentence &sentence, SharedState &shared, Board &board, EntryFiles &files,
             KanaIndexRows &indexRows, const QString &appPath);

    // Loads the main window: settings, text area, board, stored sentences and the
    // speaking character. False, with a message naming what failed, when it cannot.
    bool LoadTalkWindow(QString *error);
    // Re-applies the text size of the large-text option to the text box.
    void ApplyTextSize();

    void cmdEnd_Click();
    void cmdOpt_Click();

    // Called after the options dialog, where the ways of pressing and the call may have changed.
    std::function<void()> accessChanged;
    // Called once confirmed options have been applied.
    std::function<void()> optionsApplied;

    // Where the character file is: beside the program, else in the installed data folder.
    static QString CharacterFilePath(const QString &appPath);
    // A file the program ships, found as the character file is.
    static QString DataFilePath(const QString &appPath, const QString &name);

private:
    TalkWindow &m_w;
    QWidget *m_txtTalk;
    Sentence &m_sentence;
    SharedState &m_shared;
    Board &m_board;
    EntryFiles &m_files;
    KanaIndexRows &m_indexRows;
    QString gAppPath;
};
