#pragma once

#include <QString>

struct TalkContext;

// Loads the main window: settings, text area, board, stored sentences and the
// speaking character. False, with a message naming what failed, when it cannot.
bool LoadTalkWindow(TalkContext &t, QString *error);

// Re-applies the text size of the large-text option to the text box.
void ApplyTextSize(TalkContext &t);

// Where the character file is: beside the program, else in the installed data folder.
QString CharacterFilePath(const QString &appPath);
