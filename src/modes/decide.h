#pragma once

#include <QString>
#include <optional>

// The arithmetic of Decide and Back on plain values.
namespace DecideMath {

struct Edit
{
    QString text;
    int caret;
};

// A chosen suggestion takes the place of the last n typed characters.
Edit replaceTyped(const QString &text, int caret, const QString &sentence, int n);

// A chosen example sentence goes in at the caret.
Edit insertSentence(const QString &text, int caret, const QString &sentence);

// Name and address of an address entry, split at its first "," (else "、", else "：").
struct Recipient
{
    QString name;
    QString address;
};
std::optional<Recipient> splitAddress(const QString &entry);
bool hasSeparator(const QString &entry);

} // namespace DecideMath
