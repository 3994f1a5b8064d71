#include "modes/decide.h"

#include "entries/entryformat.h"
#include "shared/sentence.h"

namespace DecideMath {

namespace {

// 1-based position of the first separator that occurs, tested in order; 0 when none does.
qsizetype separatorAt(const QString &t)
{
    for (const QString &sep : {QStringLiteral(","), QStringLiteral("、"), QStringLiteral("：")}) {
        const qsizetype at = t.indexOf(sep);
        if (at >= 0)
            return at + 1;
    }
    return 0;
}

} // namespace

Edit replaceTyped(const QString &t, int p, const QString &sentence, int n)
{
    const QString s = EntryFormat::trimSpaces(sentence);
    const int L = int(t.size());
    if (L < n + 1)
        return {s + Sentence::Marker, int(s.size()) + p - L + 1};
    if (t.endsWith(Sentence::Marker))
        return {t.left(L - (n + 1)) + s + t.mid(p), int(s.size()) + p - n};
    return {t.left(L - n) + s + t.mid(p), int(s.size()) + p - (n - 1)};
}

Edit insertSentence(const QString &t, int p, const QString &sentence)
{
    const QString s = EntryFormat::trimSpaces(sentence);
    if (p == 0)
        return {s + t, int(s.size())};
    return {t.left(p) + s + t.mid(p), p + int(s.size())};
}

bool hasSeparator(const QString &entry)
{
    return separatorAt(EntryFormat::trimSpaces(entry)) > 0;
}

std::optional<Recipient> splitAddress(const QString &entry)
{
    const QString t = EntryFormat::trimSpaces(entry);
    const qsizetype b = separatorAt(t);
    if (b == 0)
        return std::nullopt;
    return Recipient{EntryFormat::trimSpaces(t.left(b - 1)), EntryFormat::trimSpaces(t.mid(b))};
}

} // namespace DecideMath
