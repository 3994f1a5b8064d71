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

// The example list's first two rows are its menu rows, the diary's and the
// mails', whatever text they show; the file keeps a placeholder line for each.
// A stored sentence that reads 日記 or メール is a sentence like any other.
enum class ExampleRow { DiaryMenu, MailMenu, Sentence };
constexpr int FirstSentenceRow = 2;
constexpr ExampleRow exampleRow(int row)
{
    return row == 0 ? ExampleRow::DiaryMenu : row == 1 ? ExampleRow::MailMenu : ExampleRow::Sentence;
}

// What each save writes, from the list's rows.
QStringList sampleEntries(const QStringList &rows);
// What the example file holds for row `row`: the placeholder line for a menu
// row, the row as it stands for a sentence, and a null text for an empty row.
QString sampleEntry(int row, const QString &text);
QStringList diaryEntries(const QStringList &dates, const QStringList &texts, int editRow,
                         const QString &text);
QStringList addressEntries(const QStringList &rows, int editRow, const QString &text);
QStringList mailEntries(const QStringList &rows, int editRow, const QString &text);

// The stored form of the text box's text: trimmed, without its final marker.
QString storedForm(const QString &text);

// The first-time content of the example file.
QStringList starterSentences();

} // namespace EntryFormat
