#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// The lines of the entry files: each entry in double quotes, CR LF after it.
namespace EntryFormat {

inline const QString Placeholder = QStringLiteral("ああああ日記ダミー消さないでね！");
inline const QString DiaryRow = QStringLiteral("日記");
inline const QString MailRow = QStringLiteral("メール");
// The example list's first rows are the menu rows (diary, mail): they are
// known by their place, so a sentence that reads 日記 or メール is a sentence.
inline constexpr int LabelRows = 2;
inline bool isLabelRow(int row)
{
    return row >= 0 && row < LabelRows;
}

// The text without one final cursor marker "_".
QString withoutMarker(const QString &s);
// Leading and trailing half-width spaces removed.
QString trimSpaces(const QString &s);

// The kept lines of a file's text, quotes removed; blank lines are skipped.
QStringList parseLines(const QString &fileText);
// A file's text from its entries.
QString fileText(const QStringList &entries);
// Adds one entry's line to a file's text.
void appendLine(QString &fileText, const QString &entry);
// Whether an entry's line reads back as the entry itself: it holds no quote
// and no line break.
bool readsBackWhole(QStringView entry);

// Diary line: "YY.MM.DD", a space, the text. A line of another shape has no
// date, and its text is the whole line; it is written back as it stands.
QString diaryDate(const QDate &date);
QString diaryDateOf(const QString &line);
QString diaryTextOf(const QString &line);

// What each save writes, from the list's rows (the menu rows first).
QStringList sampleEntries(const QStringList &rows);
// What the example file holds for one row: the placeholder line for a menu
// row, the row as it stands for a sentence, and a null text for an empty row.
QString sampleEntry(const QString &row, bool labelRow);
QStringList diaryEntries(const QStringList &dates, const QStringList &texts, int editRow,
                         const QString &text);
QStringList addressEntries(const QStringList &rows, int editRow, const QString &text);
QStringList mailEntries(const QStringList &rows, int editRow, const QString &text);

// The stored form of the text box's text: trimmed, without its final marker.
QString storedForm(const QString &text);

// The first-time content of the example file.
QStringList starterSentences();

} // namespace EntryFormat
