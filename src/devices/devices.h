#pragma once

#include "devices/devicekeys.h"
#include "devices/devicesscreen.h"

#include <QObject>
#include <QPointer>
#include <memory>

class ColorButton;
class SystemDeviceActions;
struct SharedState;

// The room's devices on the main window: the "機器" key, in room the window
// leaves free, opens the devices screen over the window; closing it returns to
// where the user was.
class Devices final : public QObject
{
    Q_OBJECT
public:
    // The key stands just under `under` in the window's stacking order, so that
    // whatever lies over that control lies over the key too.
    Devices(QWidget &window, QWidget *under, QWidget *focusAfter, SharedState &shared, const QString &file);
    ~Devices() override;

    // Opens the devices screen and returns when it has been closed.
    void open();

    ColorButton *key() const { return m_key; }
    DeviceKeys &keys() { return m_keys; }
    DevicesScreen *screen() const { return m_screen; }

private:
    // Reads the file into the keys; why it could not be used, empty when it could.
    QString load(DeviceList *list);
    void setup(DevicesScreen &screen);

    QWidget &m_window;
    QPointer<QWidget> m_focusAfter;
    SharedState &m_shared;
    QString m_file;
    std::unique_ptr<SystemDeviceActions> m_actions;
    DeviceKeys m_keys;
    ColorButton *m_key;
    QPointer<DevicesScreen> m_screen;
};
