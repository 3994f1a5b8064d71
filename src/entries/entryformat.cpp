#include "entries/entryformat.h"

#include "platform/memoryhints.h"
#include "shared/sentence.h"

#include <QRegularExpression>
#include <utility>

namespace EntryFormat {

namespace {

const QString CrLf = QStringLiteral("\r\n");

// The first and one past the last character of a text that is not a half-width space.
std::pair<qsizetype, qsizetype> spanWithoutSpaces(QStringView s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && s[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && s[end - 1] == QLatin1Char(' '))
        --end;
    return {begin, end};
}

// The text with every double quote taken out, made in one piece: a file of
// millions of lines makes one string for each.
QString withoutQuotes(QStringView s)
{
    QString out(s.size() - s.count(QLatin1Char('"')), Qt::Uninitialized);
    QChar *o = out.data();
    for (const QChar c : s)
        if (c != QLatin1Char('"'))
            *o++ = c;
    return out;
}

} // namespace

QString withoutMarker(const QString &s)
{
    return s.endsWith(Sentence::Marker) ? s.chopped(1) : s;
}

QString trimSpaces(const QString &s)
{
    const auto [begin, end] = spanWithoutSpaces(s);
    return s.mid(begin, end - begin);
}

QStringList parseLines(const QString &fileText)
{
    QStringList lines;
    const QStringView all(fileText);
    const qsizetype n = all.size();
    qsizetype start = 0;
    QString entry; // an entry begun with a quote and not yet closed, as far as it is read
    bool open = false;
    // A line ends at CR LF, CR or LF; a lone LF inside an open quote is a line
    // break the program itself stored within one entry.
    while (start < n) {
        qsizetype end = start;
        while (end < n && all[end] != QLatin1Char('\r') && all[end] != QLatin1Char('\n'))
            ++end;
        const bool loneLf = end < n && all[end] == QLatin1Char('\n');
        const QStringView line = all.mid(start, end - start);
        start = end + 1;
        if (end < n && all[end] == QLatin1Char('\r') && start < n && all[start] == QLatin1Char('\n'))
            ++start;
        if (open) {
            entry += QLatin1Char('\n');
            entry += line;
        }
        const QStringView e = open ? QStringView(entry) : line;
        const auto [first, last] = spanWithoutSpaces(e);
        const bool stillOpen = loneLf && first < last && e[first] == QLatin1Char('"') &&
                               (last - first == 1 || e[last - 1] != QLatin1Char('"'));
        if (stillOpen) {
            if (!open)
                entry = line.toString();
            open = true;
            continue;
        }
        open = false;
        if (first < last)
            lines << withoutQuotes(e);
    }
    if (open)
        lines << withoutQuotes(entry);
    return lines;
}

QString fileText(const QStringList &entries)
{
    QString text;
    qsizetype size = 0;
    for (const QString &e : entries)
        size += e.size() + 4;
    text.reserve(size);
    AdviseHugePages(text.data(), size_t(text.capacity()) * sizeof(QChar));
    // Entries in sorted order lie anywhere in memory: each is asked for ahead.
    constexpr qsizetype Ahead = 16;
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (i + Ahead < entries.size())
            Prefetch(entries[i + Ahead].constData());
        appendLine(text, entries[i]);
    }
    return text;
}

bool readsBackWhole(QStringView entry)
{
    for (const QChar c : entry)
        if (c == QLatin1Char('"') || c == QLatin1Char('\r') || c == QLatin1Char('\n'))
            return false;
    return true;
}

void appendLine(QString &fileText, const QString &entry)
{
    fileText += QLatin1Char('"');
    // The file's quotes enclose an entry and are dropped when it is read: a quote the user wrote
    // is kept in its full-width form, which reads back.
    if (entry.contains(QLatin1Char('"')))
        fileText += QString(entry).replace(QLatin1Char('"'), QChar(0xFF02));
    else
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
    for (int r = 0; r < rows.size(); ++r)
        if (const QString entry = sampleEntry(r, rows[r]); !entry.isNull())
            out << entry;
    return out;
}

QString sampleEntry(int row, const QString &text)
{
    if (exampleRow(row) != ExampleRow::Sentence)
        return Placeholder;
    const auto [begin, end] = spanWithoutSpaces(text);
    return begin == end ? QString() : text;
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
        const QString value = i == editRow                         ? withoutMarker(text)
                              : rows[i].endsWith(Sentence::Marker) ? rows[i].chopped(1)
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
    return trimSpaces(withoutMarker(text));
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
