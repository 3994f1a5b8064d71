#pragma once

#include <QString>

// The small, voiced and semi-voiced forms of a board character, and lower-case letters.
namespace Modifiers {

// Small form (or lower-case letter) shown right of the character; empty when there is none.
QString smallForm(const QString &ch);

struct Voicing
{
    QString left;  // semi-voiced form, or the small form of つ/ツ
    QString right; // voiced form
};
// Voiced forms; both empty when the character has none.
Voicing voicing(const QString &ch);

} // namespace Modifiers
