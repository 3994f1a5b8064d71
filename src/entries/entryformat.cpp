#include "entries/entryformat.h"

#include <QRegularExpression>
#include <utility>

namespace EntryFormat {

namespace {

const QString Marker = QStringLiteral("_");
const QString CrLf = QStringLiteral("\r\n");

// The first and one past the last character of a text that is not a half-width space.
std::pair<qsizetype, qsizetype> spanWithoutSpaces(const QString &s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && s[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && s[end - 1] == QLatin1Char(' '))
        --end;
    return {begin, end};
}

} // namespace

QString withoutMarker(const QString &s)
{
    return s.endsWith(Marker) ? s.chopped(1) : s;
}

QString trimSpaces(const QString &s)
{
    const auto [begin, end] = spanWithoutSpaces(s);
    return s.mid(begin, end - begin);
}

QStringList parseLines(const QString &fileText)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = fileText.size();
    QString entry;
    bool open = false; // an entry begun with a quote and not yet closed
    // A line ends at CR LF, CR or LF; a lone LF inside an open quote is a line
    // break the program itself stored within one entry.
    while (start < n) {
        qsizetype end = start;
        while (end < n && fileText[end] != QLatin1Char('\r') && fileText[end] != QLatin1Char('\n'))
            ++end;
        const bool loneLf = end < n && fileText[end] == QLatin1Char('\n');
        const QString line = fileText.mid(start, end - start);
        start = end + 1;
        if (end < n && fileText[end] == QLatin1Char('\r') && start < n &&
            fileText[start] == QLatin1Char('\n'))
            ++start;
        entry = open ? entry + QLatin1Char('\n') + line : line;
        const auto [first, last] = spanWithoutSpaces(entry);
        open = loneLf && first < last && entry[first] == QLatin1Char('"') &&
               (last - first == 1 || entry[last - 1] != QLatin1Char('"'));
        if (open || first == last)
            continue;
        entry.remove(QLatin1Char('"'));
        lines << entry;
    }
    if (open)
        lines << entry.remove(QLatin1Char('"'));
    return lines;
}

QString fileText(const QStringList &entries)
{
    QString text;
    qsizetype size = 0;
    for (const QString &e : entries)
        size += e.size() + 4;
    text.reserve(size);
    for (const QString &e : entries)
        appendLine(text, e);
    return text;
}

void appendLine(QString &fileText, const QString &entry)
{
    fileText += QLatin1Char('"');
    fileText += entry;
    fileText += QLatin1Char('"');
    fileText += CrLf;
}

QString diaryDate(const QDate &date)
{
    return date.toString(QStringLiteral("yy.MM.dd"));
}

namespace {

// "YY.MM.DD " and the text: the shape every diary save writes.
bool isDated(const QString &line)
{
    static const QRegularExpression dated(QStringLiteral("^[0-9]{2}\\.[0-9]{2}\\.[0-9]{2} "));
    return dated.match(line).hasMatch();
}

} // namespace

QString diaryDateOf(const QString &line)
{
    return isDated(line) ? line.left(8) : QString();
}

QString diaryTextOf(const QString &line)
{
    // A line of another shape is kept whole, as it stands.
    return isDated(line) ? trimSpaces(line.mid(9)) : line;
}

QStringList sampleEntries(const QStringList &rows)
{
    QStringList out;
    for (const QString &row : rows)
        if (const QString entry = sampleEntry(row); !entry.isNull())
            out << entry;
    return out;
}

QString sampleEntry(const QString &row)
{
    const auto [begin, end] = spanWithoutSpaces(row);
    const QStringView t = QStringView(row).mid(begin, end - begin);
    if (t == DiaryRow || t == MailRow)
        return Placeholder;
    return t.isEmpty() ? QString() : row;
}

QStringList diaryEntries(const QStringList &dates, const QStringList &texts, int editRow, const QString &text)
{
    QStringList out;
    for (int i = 0; i < dates.size(); ++i) {
        const QString entry = i == editRow ? text : texts.value(i);
        out << (dates[i].isEmpty() ? entry : dates[i] + QLatin1Char(' ') + entry);
    }
    return out;
}

QStringList addressEntries(const QStringList &rows, int editRow, const QString &text)
{
    QStringList out;
    for (int i = 0; i < rows.size(); ++i) {
        const QString value = i == editRow               ? withoutMarker(text)
                              : rows[i].endsWith(Marker) ? rows[i].chopped(1)
                                                         : trimSpaces(rows[i]);
        if (!trimSpaces(value).isEmpty())
            out << value;
    }
    return out;
}

QStringList mailEntries(const QStringList &rows, int editRow, const QString &text)
{
    QStringList out;
    for (int i = 0; i < rows.size(); ++i) {
        const QString value = i == editRow ? text : rows[i];
        if (!trimSpaces(value).isEmpty())
            out << value;
    }
    return out;
}

QString storedForm(const QString &text)
{
    const QString t = trimSpaces(text);
    return text.endsWith(Marker) ? trimSpaces(t.chopped(1)) : t;
}

QStringList starterSentences()
{
    return {
        QStringLiteral("ありがとう。"),
        QStringLiteral("ありがとうございます。"),
        QStringLiteral("おはようございます。"),
        QStringLiteral("こんにちは。"),
        QStringLiteral("こんばんは。"),
        QStringLiteral("おやすみなさい。"),
        QStringLiteral("いってらっしゃい。"),
        QStringLiteral("おかえりなさい。"),
        QStringLiteral("また来てね。"),
        QStringLiteral("はい。"),
        QStringLiteral("いいえ。"),
        QStringLiteral("そうです。"),
        QStringLiteral("ちがいます。"),
        QStringLiteral("わかりました。"),
        QStringLiteral("わかりません。"),
        QStringLiteral("もう一度言ってください。"),
        QStringLiteral("ちょっと待ってください。"),
        QStringLiteral("お願いします。"),
        QStringLiteral("すみません。"),
        QStringLiteral("ごめんなさい。"),
        QStringLiteral("大丈夫です。"),
        QStringLiteral("痛いです。"),
        QStringLiteral("かゆいです。"),
        QStringLiteral("暑いです。"),
        QStringLiteral("寒いです。"),
        QStringLiteral("息が苦しいです。"),
        QStringLiteral("のどがかわきました。"),
        QStringLiteral("おなかがすきました。"),
        QStringLiteral("お水をください。"),
        QStringLiteral("お茶をください。"),
        QStringLiteral("トイレに行きたいです。"),
        QStringLiteral("体の向きを変えてください。"),
        QStringLiteral("枕の位置を直してください。"),
        QStringLiteral("たんを取ってください。"),
        QStringLiteral("少し休みたいです。"),
        QStringLiteral("眠いです。"),
        QStringLiteral("テレビをつけてください。"),
        QStringLiteral("テレビを消してください。"),
        QStringLiteral("電気を消してください。"),
        QStringLiteral("窓を開けてください。"),
        QStringLiteral("窓を閉めてください。"),
        QStringLiteral("めがねを取ってください。"),
        QStringLiteral("看護師さんを呼んでください。"),
        QStringLiteral("先生を呼んでください。"),
        QStringLiteral("家族に電話してください。"),
        QStringLiteral("うれしいです。"),
        QStringLiteral("楽しいです。"),
        QStringLiteral("さびしいです。"),
        QStringLiteral("つらいです。"),
        QStringLiteral("気分がいいです。"),
        QStringLiteral("気分が悪いです。"),
        QStringLiteral("今何時ですか？"),
        QStringLiteral("今日は何曜日ですか？"),
    };
}

} // namespace EntryFormat
