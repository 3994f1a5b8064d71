#include "platform/fonts.h"

#include "platform/twips.h"

#include <QWidget>

namespace Fonts {

QStringList familiesFor(const QString &name)
{
    // Metric-compatible substitutes first, then fonts that at least show Japanese.
    if (name == ProportionalGothic)
        return {QStringLiteral("IPAPGothic"),       QStringLiteral("IPAGothic"),
                QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
                QStringLiteral("TakaoPGothic"),     QStringLiteral("Sans Serif")};
    return {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("VL Gothic"),
            QStringLiteral("TakaoGothic"), QStringLiteral("Monospace")};
}

void set(QWidget *widget, const QString &name, double points, bool bold)
{
    QFont font = widget->font();
    font.setFamilies(familiesFor(name));
    font.setBold(bold);
    widget->setFont(font);
    Twips::setFontPoints(widget, points);
}

} // namespace Fonts
