#pragma once

#include <QStringList>

// The sounds a guided session asks for, one at a time: the 46 base kana, then
// the voiced, the semi-voiced and the small forms.
namespace KanaSession {

QStringList sounds();
// The prompt shown for a sound.
QString promptFor(const QString &sound);

} // namespace KanaSession
