#include "platform/loginstart.h"

#include "platform/settingsstore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <QStandardPaths>

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
    if (on) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QSaveFile file(path);
        const QByteArray entry = "[Desktop Entry]\nType=Application\nName=Pirokan\nName[ja]=ピロカン\n"
                                 "Comment[ja]=ログイン時に起動します\nExec=\"" +
                                 m_program.toUtf8() +
                                 "\"\nIcon=jp.pirokan.Pirokan\nTerminal=false\n"
                                 "X-GNOME-Autostart-enabled=true\n";
        done = file.open(QIODevice::WriteOnly) && file.write(entry) == entry.size() && file.commit();
    } else if (QFileInfo::exists(path)) {
        done = QFile::remove(path);
    }
    if (!done) {
        if (error)
            *error = QObject::tr("ログイン時に起動する設定を変えられませんでした。\nファイル：%1")
                         .arg(QDir::toNativeSeparators(path));
        return false;
    }
    return m_store.write({{QStringLiteral("AtLogin"), on ? QStringLiteral("1") : QStringLiteral("0")}},
                         error);
}
