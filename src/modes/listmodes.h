#pragma once

#include <QString>

struct SharedState;
class Board;
class EntryFiles;
class KanaIndexRows;
class TalkWindow;
class TextArea;

// The list button, which opens the example list and closes every list mode,
// and the restart button.
class ListModes
{
public:
    ListModes(TalkWindow &w, SharedState &shared, Board &board, TextArea &textArea, EntryFiles &files,
              KanaIndexRows &indexRows);

    void cmdSamp_Click();
    void cmdStart_Click();
    // The board configuration every closing path ends in.
    void ApplyBoardConfiguration();
    // Shows the example list over the board, with its menu rows.
    void ShowExampleList();

private:
    void switchList();
    bool askAndSave(const QString &prompt, const QString &title, bool (EntryFiles::*save)(const QString &));

    TalkWindow &m_w;
    SharedState &m_shared;
    Board &m_board;
    TextArea &m_textArea;
    EntryFiles &m_files;
    KanaIndexRows &m_indexRows;
};
