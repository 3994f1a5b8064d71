#pragma once

#include <QString>
#include <optional>

// The key of the suggestion lookup: the last typed characters before the marker.
namespace SuggestKey {

// The key when the caret is on the last character; empty otherwise.
std::optional<QString> fromTail(const QString &text, int selStart, int n);

// Whether a stored sentence begins with the key (compared over the untrimmed key's length).
bool matches(const QString &key, const QString &sentence);
// The same, or whether the sentence's reading begins with it (for sentences written in kanji).
bool matchesTextOrReading(const QString &key, const QString &sentence, const QString &reading);

// The first four UTF-16 code units of a text in one number, zero past its end.
quint64 startOf(QStringView text);

// Passes the starts of the sentences that may match a key, so that a lookup in
// millions of sentences reads only those; every sentence that matches passes.
class StartFilter
{
public:
    explicit StartFilter(const QString &key);
    bool mayMatch(quint64 start) const { return (start & m_mask) == m_want; }

private:
    quint64 m_want = 0;
    quint64 m_mask = 0;
};

} // namespace SuggestKey
