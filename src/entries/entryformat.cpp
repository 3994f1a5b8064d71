#include "entries/entryformat.h"

namespace EntryFormat {

namespace {

const QString Marker = QStringLiteral("_");
const QString CrLf = QStringLiteral("\r\n");

QString withoutMarker(const QString &s)
{
    return s.endsWith(Marker) ? s.chopped(1) : s;
}

} // namespace

QString trimSpaces(const QString &s)
{
    qsizetype begin = 0, end = s.size();
    while (begin < end && s[begin] == QLatin1Char(' '))
        ++begin;
    while (end > begin && s[end - 1] == QLatin1Char(' '))
        --end;
    return s.mid(begin, end - begin);
}

QStringList parseLines(const QString &fileText)
{
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = fileText.size();
    // A line ends at CR or CR LF.
    while (start < n) {
        qsizetype end = fileText.indexOf(QLatin1Char('\r'), start);
        if (end < 0)
            end = n;
        const QString line = fileText.mid(start, end - start);
        start = end + 1;
        if (start < n && end < n && fileText[start] == QLatin1Char('\n'))
            ++start;
        if (trimSpaces(line).isEmpty())
            continue;
        QString kept = line;
        kept.remove(QLatin1Char('"'));
        lines << kept;
    }
    return lines;
}

QString fileText(const QStringList &entries)
{
    QString text;
    for (const QString &e : entries)
        text += QLatin1Char('"') + e + QLatin1Char('"') + CrLf;
    return text;
}

QString diaryDate(const QDate &date)
{
    return date.toString(QStringLiteral("yy.MM.dd"));
}

QString diaryDateOf(const QString &line)
{
    return line.left(8);
}

QString diaryTextOf(const QString &line)
{
    return trimSpaces(line.mid(9));
}

QStringList sampleEntries(const QStringList &rows)
{
    QStringList out;
    for (const QString &row : rows) {
        const QString t = trimSpaces(row);
        if (t == DiaryRow || t == MailRow)
            out << Placeholder;
        else if (!t.isEmpty())
            out << row;
    }
    return out;
}

QStringList diaryEntries(const QStringList &dates, const QStringList &texts, int editRow, const QString &text)
{
    QStringList out;
    for (int i = 0; i < dates.size(); ++i)
        out << dates[i] + QLatin1Char(' ') + (i == editRow ? text : texts.value(i));
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
