#include "shared/callkey.h"

#include "platform/controls.h"
#include "shared/palette.h"

#include <QPushButton>

namespace {

constexpr double Points = 20;

} // namespace

ColorButton *MakeCallKey(QWidget *parent, QRect twips, const std::function<void()> &call)
{
    ColorButton *key =
        makeButton(parent, "cmdCall", QStringLiteral("呼び出し"), twips, Palette::CallOrange, Points, true);
    key->setAccessibleDescription(QStringLiteral("人を呼ぶ音を鳴らす"));
    if (call)
        QObject::connect(key, &QPushButton::clicked, key, [call] { call(); });
    return key;
}
