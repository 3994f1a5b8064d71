#include "platform/voicebank/phrasekey.h"

namespace PhraseKey {

namespace {

bool isTrailingMark(QChar c)
{
    return QStringLiteral("。、！？!?,.，．").contains(c);
}

} // namespace

QString ofPhrase(const QString &text)
{
    // NFKC makes full-width letters and half-width katakana the common forms.
    const QString folded = text.normalized(QString::NormalizationForm_KC);
    QString key;
    key.reserve(folded.size());
    for (const QChar c : folded)
        if (!c.isSpace() && c != QLatin1Char('_'))
            key += c;
    while (!key.isEmpty() && isTrailingMark(key.back()))
        key.chop(1);
    return key;
}

QString ofKana(const QString &text)
{
    QString key = ofPhrase(text);
    for (QChar &c : key)
        if (c.unicode() >= 0x30a1 && c.unicode() <= 0x30f6)
            c = QChar(c.unicode() - 0x60);
    return key;
}

QStringList pieces(const QString &text)
{
    static const QString ends = QStringLiteral("。！？!?\n\r");
    QStringList out;
    QString current;
    auto flush = [&] {
        if (!current.trimmed().isEmpty())
            out << current.trimmed();
        current.clear();
    };
    for (const QChar c : text) {
        current += c;
        if (ends.contains(c))
            flush();
    }
    flush();
    return out;
}

} // namespace PhraseKey
