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

} // namespace SuggestKey
