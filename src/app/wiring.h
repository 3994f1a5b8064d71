#pragma once

struct TalkContext;

// Connects every control of the main window to its handler.
void WireTalkWindow(TalkContext &t);

void cmdOpt_Click(TalkContext &t);
void cmdEnd_Click(TalkContext &t);
void cmdEnd2_Click(TalkContext &t);
