#pragma once

#include <QString>
#include <optional>

// The text model: the sentence ends in the cursor marker "_", and the next
// character goes in before the highlighted one.
namespace Insertion {

inline const QString Marker = QStringLiteral("_");

struct Result
{
    QString text;
    int caret;
};

// Whether a text holds nothing written: empty, or the bare marker a list action leaves.
inline bool holdsNothing(const QString &text)
{
    return text.isEmpty() || text == Marker;
}

// Puts ch before position selStart and keeps the marker at the end. Empty when
// the result would be longer than maxLength: the character is refused whole.
std::optional<Result> insertPending(const QString &text, int selStart, const QString &ch, int maxLength);

} // namespace Insertion
