#include "app/application.h"

#include "app/okdialog.h"
#include "app/startup.h"
#include "app/talkcontext.h"
#include "app/talkwindow.h"
#include "app/wiring.h"
#include "platform/entrystorage.h"
#include "platform/modalrunner.h"
#include "platform/services.h"
#include "platform/settingsstore.h"
#include "platform/singleinstance.h"
#include "platform/speech/voiceagent.h"
#include "platform/textbox.h"

#include <QApplication>
#include <QDir>
#include <QLoggingCategory>
#include <cstdio>

Q_LOGGING_CATEGORY(lcApp, "pirokan.app")

int RunPirokan(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Pirokan"));

    // A second start ends here, leaving the first undisturbed.
    SingleInstance instance(SingleInstance::defaultLockPath());
    if (instance.state() == SingleInstance::State::AlreadyRunning) {
        qCInfo(lcApp) << "already running; this start ends";
        return 0;
    }
    if (instance.state() == SingleInstance::State::Unlocked)
        qCWarning(lcApp) << "starting without the single-instance lock:" << instance.problem();

    QtSettingsStore settings;
    VoiceAgent agent;
    SystemBeeper beeper;
    SystemClipboard clipboard;
    DesktopShell shell;
    SystemClock clock;
    ExecRunner modal;

    const QString appPath = QDir::toNativeSeparators(QCoreApplication::applicationDirPath());
    FolderEntryStorage entries(FolderEntryStorage::chooseFolder(appPath));

    TalkWindow window;
    TalkContext t;
    t.w = &window;
    t.sv = {&settings, &agent, &beeper, &clipboard, &shell, &clock, &modal, &entries};
    t.gAppPath = appPath;

    QString error;
    if (!LoadTalkWindow(t, &error)) {
        std::fprintf(stderr, "pirokan: %s\n", qPrintable(error));
        ShowOKDialog(t, error, OkDialog::Notice, QStringLiteral("Pirokan"));
        return 1;
    }
    WireTalkWindow(t);
    window.show();
    window.activateWindow();
    window.txtTalk->setFocus();
    qCInfo(lcApp) << "started; entry files in" << entries.folder();
    return app.exec();
}
