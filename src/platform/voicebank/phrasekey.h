#pragma once

#include <QString>
#include <QStringList>

// How a text is matched with a recording.
namespace PhraseKey {

// The text as it is matched: without the cursor marker, spaces and trailing
// marks (。、！？), full- and half-width forms made one.
QString ofPhrase(const QString &text);
// A lone kana as it is matched: katakana and hiragana are the same sound.
QString ofKana(const QString &text);
// A text cut into the pieces a recording may stand for: at 。！？ and line
// ends, each mark kept with its piece; blank pieces are dropped.
QStringList pieces(const QString &text);

} // namespace PhraseKey
