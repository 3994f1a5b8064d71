#include "board/suggestkey.h"

#include "entries/entryformat.h"
#include "shared/sentence.h"

#include <algorithm>

namespace SuggestKey {

std::optional<QString> fromTail(const QString &text, int selStart, int n)
{
    const int L = int(text.size());
    if (selStart != L - 1)
        return std::nullopt;
    if (text.endsWith(Sentence::Marker))
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

quint64 startOf(QStringView text)
{
    quint64 start = 0;
    for (qsizetype i = 0; i < 4; ++i)
        start = start << 16 | (i < text.size() ? text[i].unicode() : 0);
    return start;
}

StartFilter::StartFilter(const QString &key)
{
    // A match begins with the trimmed key; only its first four code units are in a start.
    const QString trimmed = EntryFormat::trimSpaces(key);
    const qsizetype known = std::min<qsizetype>(4, trimmed.size());
    m_mask = known == 0 ? 0 : ~quint64(0) << (16 * (4 - known));
    m_want = startOf(trimmed) & m_mask;
}

} // namespace SuggestKey
