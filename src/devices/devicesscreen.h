#pragma once

#include <QDialog>
#include <QList>
#include <functional>

class ColorButton;
class ColorLabel;
class DeviceKeys;

// The devices screen ("機器"): one large key per device action over the whole
// main window, the call key first, "戻る" back to where the user was, and the
// carer's "設定" to set the keys up.
class DevicesScreen final : public QDialog
{
    Q_OBJECT
public:
    // `problem`: why the devices file could not be used, shown instead of keys.
    DevicesScreen(DeviceKeys &keys, QWidget *over, const std::function<void()> &call, const QString &problem);

    // Lays the keys out again (after the carer changed them).
    void rebuild(const QString &problem);

    // The carer's setup, when "設定" is pressed.
    std::function<void()> openSetup;

    const QList<ColorButton *> &keyButtons() const { return m_buttons; }

private:
    void showKey(int key);
    void setMessage(const QString &text);

    DeviceKeys &m_keys;
    ColorLabel *m_message;
    int m_messageKey = -1; // the key whose failure the line tells, if it does
    QList<ColorButton *> m_buttons;
};

// Where the keys of a screen of n stand, in twips of the main window's canvas:
// rows of three, as many rows as needed, never lower than 44 px at the canvas's own size.
QList<QRect> DeviceKeyPlaces(int count);
