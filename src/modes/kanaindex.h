#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// Row heads of the sorted lists: "あ行" at the first entry of each group that
// begins with a character of the same row of the syllabary.
namespace KanaIndex {

// The head of the first table row whose range holds c; empty when none does.
QString headOf(QChar c);

// Column 0 for each row of a sorted list: the head where a group begins, else empty.
// Rows whose first character has no head join the group above them.
QStringList heads(const QStringList &texts);
// The rows where a head stands and their heads, from the first character of
// each row (a null character for an empty row); a list of millions of rows has
// only a few dozen.
std::vector<std::pair<qsizetype, QString>> headRows(const QString &firstChars);

// The same, with each entry's reading (may be empty or shorter): an entry that
// begins with a kanji is headed, and sorted, by the first kana of its reading.
QStringList heads(const QStringList &texts, const QStringList &readings);
QString sortKey(const QString &text, const QString &reading);

} // namespace KanaIndex
