#pragma once

#include <QString>

// pirokan --import-voice DIR: banks a folder of recordings, one line per file
// on standard output. 0 when every file listed was banked.
int ImportVoiceCommand(const QString &folder);
