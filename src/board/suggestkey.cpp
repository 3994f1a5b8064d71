#include "board/suggestkey.h"

#include "entries/entryformat.h"

namespace SuggestKey {

std::optional<QString> fromTail(const QString &text, int selStart, int n)
{
    const int L = int(text.size());
    if (selStart != L - 1)
        return std::nullopt;
    if (text.endsWith(QLatin1Char('_')))
        return L < n + 2 ? text.chopped(1) : text.mid(L - n - 1, n);
    return text.right(n);
}

bool matches(const QString &key, const QString &sentence)
{
    const qsizetype k = key.size();
    return QStringView(EntryFormat::trimSpaces(key)).left(k) == QStringView(sentence).left(k);
}

bool matchesTextOrReading(const QString &key, const QString &sentence, const QString &reading)
{
    return matches(key, sentence) || (!reading.isEmpty() && matches(key, reading));
}

} // namespace SuggestKey
