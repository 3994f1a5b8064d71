#include "devices/devices.h"

#include "devices/devicesetup.h"
#include "devices/devicesscreen.h"
#include "platform/character.h"
#include "platform/colors.h"
#include "platform/controls.h"
#include "platform/modalrunner.h"
#include "platform/privatefile.h"
#include "shared/sharedstate.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcDevices, "pirokan.devices")

namespace {

// Between 読む and the character-set key, where the window has room to spare.
constexpr QRect KeyPlace{12870, 9600, 2295, 360};

} // namespace

Devices::Devices(QWidget &window, QWidget *under, QWidget *focusAfter, SharedState &shared,
                 const QString &file)
    : QObject(&window), m_window(window), m_focusAfter(focusAfter), m_shared(shared), m_file(file),
      m_actions(std::make_unique<SystemDeviceActions>()), m_keys(*m_actions)
{
    m_key = makeButton(&window, "cmdDevices", QStringLiteral("機器"), KeyPlace, Colors::White, 12, true);
    m_key->setAccessibleDescription(QStringLiteral("部屋の機器を動かす画面を開く"));
    if (under)
        m_key->stackUnder(under);
    m_key->show();
    connect(m_key, &QPushButton::clicked, this, &Devices::open);
    connect(&m_keys, &DeviceKeys::changed, this, [this](int key) {
        const DeviceKeys::View v = m_keys.view(key);
        qCDebug(lcDevices) << v.caption << v.line;
    });
    m_keys.speak = [this](const QString &text) {
        if (m_shared.gCharacter)
            m_shared.gCharacter->speak(text);
    };
}

Devices::~Devices()
{
    m_keys.speak = nullptr;
}

QString Devices::load(DeviceList *list)
{
    QByteArray bytes;
    QString problem;
    switch (PrivateFile::read(m_file, &bytes, &problem)) {
    case PrivateFile::ReadResult::Missing:
        *list = DeviceList();
        return {};
    case PrivateFile::ReadResult::Refused:
        break;
    case PrivateFile::ReadResult::Read:
        if (ParseDeviceList(bytes, list, &problem))
            return {};
        problem = tr("機器のファイルの形が正しくないので、使いませんでした。ファイルはそのままです。\n"
                     "ファイル：%1\n")
                      .arg(m_file) +
                  problem;
        break;
    }
    qCWarning(lcDevices) << problem;
    *list = DeviceList();
    return problem;
}

void Devices::open()
{
    if (m_screen)
        return;
    DeviceList list;
    const QString problem = load(&list);
    // The same keys keep what they last showed, and hear a reply that comes while the screen is closed.
    if (list != m_keys.list())
        m_keys.setList(list);
    DevicesScreen screen(m_keys, &m_window, m_shared.callForHelp, problem);
    screen.openSetup = [this, &screen] { setup(screen); };
    m_screen = &screen;
    m_keys.readStates();
    m_shared.sv.modal->run(screen);
    m_screen = nullptr;
    if (m_focusAfter)
        m_focusAfter->setFocus();
}

void Devices::setup(DevicesScreen &screen)
{
    DeviceList list;
    const QString problem = load(&list);
    DeviceSetupDialog dialog(
        list, *m_actions,
        [this](const DeviceList &edited, QString *error) {
            return PrivateFile::write(m_file, SerializeDeviceList(edited), error);
        },
        problem, &screen, m_shared.callForHelp);
    m_shared.sv.modal->run(dialog);
    if (dialog.result() != QDialog::Accepted)
        return;
    m_keys.setList(dialog.edited());
    screen.rebuild(QString());
    m_keys.readStates();
}
