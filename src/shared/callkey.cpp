#include "shared/callkey.h"

#include "platform/controls.h"
#include "shared/palette.h"

#include <QEvent>
#include <QPushButton>

namespace {

constexpr double Points = 20;
constexpr char Wanted[] = "callKeyWanted";   // shown when its window takes presses
constexpr char Blocked[] = "callKeyBlocked"; // its window is blocked by a modal dialog

// A window a modal dialog blocks takes no press, so its call key would do
// nothing: it is not shown until the window takes presses again. The dialog
// on top shows a key of its own, and holding the switch calls from anywhere.
class HiddenWhileBlocked final : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *key = static_cast<QWidget *>(watched);
        if (event->type() == QEvent::WindowBlocked || event->type() == QEvent::WindowUnblocked) {
            key->setProperty(Blocked, event->type() == QEvent::WindowBlocked);
            key->setVisible(key->property(Wanted).toBool() && !key->property(Blocked).toBool());
        }
        return false;
    }
};

} // namespace

ColorButton *MakeCallKey(QWidget *parent, QRect twips, const std::function<void()> &call)
{
    ColorButton *key =
        makeButton(parent, "cmdCall", QStringLiteral("呼び出し"), twips, Palette::CallOrange, Points, true);
    key->setAccessibleDescription(QStringLiteral("人を呼ぶ音を鳴らす"));
    if (call)
        QObject::connect(key, &QPushButton::clicked, key, [call] { call(); });
    key->setProperty(Wanted, true);
    key->installEventFilter(new HiddenWhileBlocked(key));
    return key;
}

void ShowCallKey(QWidget *key, bool shown)
{
    key->setProperty(Wanted, shown);
    key->setVisible(shown && !key->property(Blocked).toBool());
}
