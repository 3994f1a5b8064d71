#pragma once

#include "shared/talkstate.h"

#include <QString>
#include <QStringList>

// The three character sets of the first screen and where each character sits.
namespace BoardPages {

using CharSet = ::CharSet;

constexpr int Rows = 5;

inline const QString HiraganaCaption = QStringLiteral("ひら");
inline const QString KatakanaCaption = QStringLiteral("カタ");
inline const QString AlphanumericCaption = QStringLiteral("英数");

// The set that follows a set: hiragana, katakana, the alphanumeric set, and round again.
CharSet nextSet(CharSet set);
// The set that follows the one a caption names; any other caption counts as katakana's.
CharSet nextSet(const QString &caption);
QString captionOf(CharSet set);

// Text of a first-screen cell (empty where the set has nothing).
QString cell(CharSet set, int gMaxC, int row, int col);

// Every character the board and its selection screens can show, each once.
QStringList everyCharacter();

// Width of every board column in twips.
int columnWidth(int gMaxC);

} // namespace BoardPages
