#include "platform/voicebank/bankindex.h"

namespace BankIndex {

namespace {

const QString Header = QStringLiteral("text\tfile\tkind\tdate\tduration");

QString escaped(const QString &text)
{
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char('\\'))
            out += QStringLiteral("\\\\");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c != QLatin1Char('\r'))
            out += c;
    }
    return out;
}

QString unescaped(const QString &text)
{
    QString out;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text[++i];
            out += n == QLatin1Char('t') ? QChar(u'\t') : n == QLatin1Char('n') ? QChar(u'\n') : n;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

bool isPlainName(const QString &name)
{
    return !name.isEmpty() && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('\\')) &&
           !name.startsWith(QLatin1Char('.'));
}

QString format(const QList<BankEntry> &entries)
{
    QString out = Header + QLatin1Char('\n');
    for (const BankEntry &e : entries)
        out += QStringLiteral("%1\t%2\t%3\t%4\t%5\n")
                   .arg(escaped(e.text), e.file,
                        e.kind == BankEntry::Kind::Kana ? QStringLiteral("kana") : QStringLiteral("phrase"),
                        e.recorded.toString(Qt::ISODate), QString::number(e.seconds, 'f', 3));
    return out;
}

QList<BankEntry> parse(const QString &text, int *skipped)
{
    QList<BankEntry> out;
    int bad = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString line = lines[i];
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (i == 0 && line.startsWith(QChar(0xfeff)))
            line.remove(0, 1);
        if (line.trimmed().isEmpty() || (i == 0 && line == Header))
            continue;
        const QStringList cols = line.split(QLatin1Char('\t'));
        BankEntry e;
        e.text = cols.size() >= 2 ? unescaped(cols[0]) : QString();
        e.file = cols.value(1).trimmed();
        if (e.text.trimmed().isEmpty() || !isPlainName(e.file)) {
            ++bad;
            continue;
        }
        e.kind = cols.value(2) == QLatin1String("kana") ? BankEntry::Kind::Kana : BankEntry::Kind::Phrase;
        e.recorded = QDateTime::fromString(cols.value(3), Qt::ISODate);
        e.seconds = cols.value(4).toDouble();
        out << e;
    }
    if (skipped)
        *skipped = bad;
    return out;
}

} // namespace BankIndex
