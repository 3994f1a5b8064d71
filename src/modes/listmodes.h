#pragma once

#include <QString>

struct SharedState;
class Board;
class ColorButton;
class EntryFiles;
class EntryList;
class Grid;
class KanaIndexRows;
class TextArea;
class QWidget;
class Sentence;

// The list button, which opens the example list and closes every list mode,
// and the restart button.
class ListModes
{
public:
    // The list button, the example list it opens over the board, the text, and
    // the window, which is disabled while the list button works.
    struct Controls
    {
        QWidget *window;
        ColorButton *cmdSamp;
        Grid *grdEx;
        Grid *grdBoard;
        QWidget *txtTalk; // the text box, which takes the focus back
    };

    ListModes(const Controls &c, const EntryList &examples, Sentence &sentence, SharedState &shared,
              Board &board, TextArea &textArea, EntryFiles &files, KanaIndexRows &indexRows);

    void cmdSamp_MouseDown();
    void cmdSamp_MouseUp();
    void cmdSamp_Click();
    void cmdStart_Click();
    // The board configuration every closing path ends in.
    void ApplyBoardConfiguration();
    // Shows the example list over the board, with its menu rows.
    void ShowExampleList();
    // Sorts and heads the examples anew; a sentence chosen in the list on show stays chosen where it
    // now stands, so a delete after it takes what the user chose.
    void IndexExamples();

private:
    void switchList();

    Controls m_c;
    const EntryList &m_examples;
    Sentence &m_sentence;
    SharedState &m_shared;
    Board &m_board;
    TextArea &m_textArea;
    EntryFiles &m_files;
    KanaIndexRows &m_indexRows;
};
