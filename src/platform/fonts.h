#pragma once

#include <QFont>
#include <QString>

class QWidget;

// The two Japanese system fonts the program names, mapped to fonts found here.
namespace Fonts {

inline const QString Gothic = QStringLiteral("ＭＳ ゴシック");               // fixed pitch
inline const QString ProportionalGothic = QStringLiteral("ＭＳ Ｐゴシック"); // proportional

QStringList familiesFor(const QString &name);
// Gives the widget the named font at a size in points (scaled with its window) and weight.
void set(QWidget *widget, const QString &name, double points, bool bold = false);

} // namespace Fonts
