#pragma once

#include <QString>
#include <QStringList>

// What the voice is given to say.
namespace Readings {

// The reading of a lone character or board mark: kana as themselves in
// katakana (so は is "ha", not the particle "wa"), small kana, marks,
// letters, digits and signs by their names. Empty for a space: a short silence.
// Text that is not a lone character or mark is returned as it is.
QString ofLoneCharacter(const QString &text);

// A sentence cut into clauses at 。、！？ and line ends, the marks kept with their clause.
QStringList clauses(const QString &sentence);

// Where a clause's first phrase ends, so that it can be made and heard while the
// rest is made: after the first particle that follows a kanji or katakana word
// ("今日は|天気が良いので、"). -1 when the clause is short or has no such place.
qsizetype firstPhraseEnd(const QString &clause);

// Kana, long-vowel marks, digits, letters and punctuation only; other characters become spaces.
QString kanaOnly(const QString &text);

} // namespace Readings
