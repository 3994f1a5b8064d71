#pragma once

struct TalkContext;

// Clears the first screen and writes the set after the one the character-set
// button names, sized by the board-width option.
void BuildBoardPage(TalkContext &t);

void cmdKey_Click(TalkContext &t);
