#pragma once

#include <QString>

struct SharedState;
class CandidateBar;
class ColorButton;
class ColorFrame;
class Grid;
class Suggestions;
class QWidget;
class Sentence;

// The character board: the first screen, the selection screen that opens over
// it, and the entering of a character into the text.
class Board
{
public:
    // The controls the board owns.
    struct Controls
    {
        Grid *grdBoard;
        ColorFrame *fraSet; // the selection screen
        Grid *grdBoard2;
        ColorButton *cmdEnd2;
        QWidget *txtTalk; // the text box, which takes the focus back
    };

    Board(const Controls &c, Sentence &sentence, SharedState &shared, Suggestions &suggestions,
          CandidateBar &candidates);

    // Clears the first screen and writes the set after the one on show, sized
    // by the board-width option.
    void BuildBoardPage();
    void cmdKey_Click();
    // Closes the selection screen.
    void cmdEnd2_Click();

    void grdBoard_MouseDown();
    void grdBoard_Click();
    // Paints every cell of the first screen white again.
    void ClearBoardColours();
    void grdBoard2_MouseDown();
    void grdBoard2_Click();
    // Fills the selection screen around first-screen cell (row, col).
    void ShowSelectionScreen(qint32 col, qint32 row);

    // Inserts the pending character before the highlight;
    // false, after a beep, when the text has no room for it.
    bool InsertPendingChar();
    void cmdspace_Click();

    // The last character picked on the selection screen.
    const QString &lastPick() const { return gLastPick; }
    // Walking a list leaves the first screen's two-press memory behind, as it
    // always has: the next press on the board counts as a first press.
    void forgetFirstPress() { gPickText.clear(); }

private:
    QString boardText() const;
    void openSelectionScreen(const QString &s);
    bool enterCharacter(const QString &s);
    // Speaks the picked character when the voice option says so.
    void SpeakIfVoiced(const QString &text, const QString &tag);

    Controls m_c;
    Sentence &m_sentence;
    SharedState &m_shared;
    Suggestions &m_suggestions;
    CandidateBar &m_candidates;

    qint32 boardRow = 0;
    qint32 boardCol = 0;
    qint32 pickRow = 0;
    qint32 pickCol = 0;
    QString gPickText; // the first screen's character remembered by the first of two presses
    QString gLastPick;
};
