#include "platform/buttonaccessible.h"

#include "platform/controls.h"
#include "platform/coverwatch.h"

#include <QMetaObject>

namespace {

QHash<QString, QString> &words()
{
    static QHash<QString, QString> table;
    return table;
}

// A label pressed like a button (the mail window's) is a button to assistive tools too, named by
// the words it shows.
class PressableLabelAccessible final : public QAccessibleWidget
{
public:
    explicit PressableLabelAccessible(ColorLabel *label) : QAccessibleWidget(label, QAccessible::Button) {}

    QString text(QAccessible::Text t) const override
    {
        if (t == QAccessible::Name)
            return label()->accessibleName().isEmpty() ? label()->text() : label()->accessibleName();
        return QAccessibleWidget::text(t);
    }
    QStringList actionNames() const override
    {
        return label()->isEnabled() ? QStringList{pressAction()} : QStringList{};
    }
    void doAction(const QString &action) override
    {
        ColorLabel *l = label();
        if (action == pressAction() && l->isVisible() && l->isEnabled() && !IsCovered(l))
            QMetaObject::invokeMethod(
                l, [l] { emit l->clicked(); }, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    ColorLabel *label() const { return static_cast<ColorLabel *>(widget()); }
};

QAccessibleInterface *factory(const QString &, QObject *object)
{
    if (auto *b = qobject_cast<ColorButton *>(object))
        return new ButtonAccessible(b);
    if (auto *l = qobject_cast<ColorLabel *>(object); l && l->property("pressable").toBool())
        return new PressableLabelAccessible(l);
    return nullptr;
}

} // namespace

ButtonAccessible::ButtonAccessible(QAbstractButton *button) : QAccessibleWidget(button, QAccessible::Button)
{}

QAbstractButton *ButtonAccessible::button() const
{
    return static_cast<QAbstractButton *>(widget());
}

QString ButtonAccessible::nameOf(const QAbstractButton *button)
{
    if (!button->accessibleName().isEmpty())
        return button->accessibleName();
    const QString caption = button->text();
    return words().value(caption.trimmed(), caption);
}

QString ButtonAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Name)
        return nameOf(button());
    return QAccessibleWidget::text(t);
}

QAccessible::State ButtonAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.pressed = button()->isDown();
    // Under the selection screen the keys below it are not there to press.
    if (button()->isVisible() && IsCovered(button())) {
        s.invisible = true;
        s.offscreen = true;
    }
    return s;
}

QStringList ButtonAccessible::actionNames() const
{
    if (!button()->isEnabled())
        return {};
    return {pressAction()};
}

void ButtonAccessible::doAction(const QString &action)
{
    // Pressed once the tool's request is answered: a press may open a dialog and wait in it.
    if (action == pressAction() && button()->isVisible() && button()->isEnabled() && !IsCovered(button()))
        QMetaObject::invokeMethod(button(), &QAbstractButton::click, Qt::QueuedConnection);
}

void ButtonAccessible::setSymbolWords(const QHash<QString, QString> &table)
{
    words() = table;
}

const QHash<QString, QString> &ButtonAccessible::symbolWords()
{
    return words();
}

void ButtonAccessible::install()
{
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}
