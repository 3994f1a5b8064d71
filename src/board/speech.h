#pragma once

#include <QString>

struct SharedState;

namespace Speech {
inline const QString Selected = QStringLiteral("S"); // the selection screen is opened
inline const QString Entered = QStringLiteral("E");  // a character is entered
inline const QString First = QStringLiteral("1");    // first of two presses

// Whether the voice option lets a pick with this tag speak.
bool voiced(const QString &opt3, const QString &tag);
// Says what was picked, when the voice option lets a pick with this tag speak.
void speakIfVoiced(SharedState &shared, const QString &text, const QString &tag);
} // namespace Speech
