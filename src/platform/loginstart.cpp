#include "platform/loginstart.h"

#include "platform/filefailure.h"
#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <QStandardPaths>
#include <cerrno>

LoginStart::LoginStart(SettingsStore &store, const QString &program) : m_store(store), m_program(program) {}

QString LoginStart::entryPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("autostart/jp.pirokan.Pirokan.desktop"));
}

bool LoginStart::enabled() const
{
    return QFileInfo::exists(entryPath());
}

bool LoginStart::setEnabled(bool on, QString *error)
{
    const QString path = entryPath();
    bool done = true;
    QString cause;
    errno = 0;
    if (on) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Pirokan\nName[ja]=ピロカン\n"
                                 "Comment[ja]=ログイン時に起動します\nExec=\"" +
                                 m_program.toUtf8() +
                                 "\"\nIcon=jp.pirokan.Pirokan\nTerminal=false\n"
                                 "X-GNOME-Autostart-enabled=true\n";
        done = file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size() && file.commit();
        if (!done)
            cause = FileFailure::causeForUser(file, errno);
    } else if (QFileInfo::exists(path)) {
        QFile file(path);
        done = file.remove();
        if (!done)
            cause = FileFailure::causeForUser(file, errno);
    }
    if (!done) {
        if (error)
            *error = QObject::tr("ログイン時に起動する設定を変えられませんでした。%1\nファイル：%2")
                         .arg(cause, QDir::toNativeSeparators(path));
        return false;
    }
    return m_store.write({{QStringLiteral("AtLogin"), on ? QStringLiteral("1") : QStringLiteral("0")}},
                         error);
}
