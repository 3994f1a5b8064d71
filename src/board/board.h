#pragma once

#include <QString>

struct TalkContext;

// Clears the first screen and writes the set after the one the character-set
// button names, sized by the board-width option.
void BuildBoardPage(TalkContext &t);
void cmdKey_Click(TalkContext &t);

// First screen and selection screen.
void grdBoard_MouseDown(TalkContext &t);
// Paints every cell of the first screen white again.
void ClearBoardColours(TalkContext &t);
void grdBoard_Click(TalkContext &t);
void grdBoard2_MouseDown(TalkContext &t);
void grdBoard2_Click(TalkContext &t);
// Fills the selection screen around first-screen cell (row, col).
void ShowSelectionScreen(TalkContext &t, qint32 col, qint32 row);
// Writes the small and voiced forms of ch into the outer cells of a selection-screen row.
void FillVariantCells(TalkContext &t, const QString &ch, qint32 row);

// Inserts the pending character (the caption of txtHide) before the highlight;
// false, after a beep, when the text has no room for it.
bool InsertPendingChar(TalkContext &t);
void cmdspace_Click(TalkContext &t);

// Looks up stored sentences that begin with the last typed characters.
void SuggestFromTail(TalkContext &t, const QString &text);
void ShowSuggestions(TalkContext &t, const QString &key);
