#pragma once

#include <QString>
#include <QStringList>

// The three character sets of the first screen and where each character sits.
namespace BoardPages {

enum class CharSet { Hiragana, Katakana, Alphanumeric };

constexpr int Rows = 5;

inline const QString HiraganaCaption = QStringLiteral("ひら");
inline const QString KatakanaCaption = QStringLiteral("カタ");
inline const QString AlphanumericCaption = QStringLiteral("英数");

// The set that follows the one named by the character-set button's caption.
CharSet nextSet(const QString &caption);
QString captionOf(CharSet set);

// Text of a first-screen cell (empty where the set has nothing).
QString cell(CharSet set, int gMaxC, int row, int col);

// Every character the board and its selection screens can show, each once.
QStringList everyCharacter();

// Width of every board column in twips.
int columnWidth(int gMaxC);

} // namespace BoardPages
