#include "platform/privatefile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <QStandardPaths>

namespace PrivateFile {

ReadResult read(const QString &path, QByteArray *bytes, QString *error)
{
    const QFileInfo info(path);
    if (!info.exists())
        return ReadResult::Missing;
    const auto refuse = [&](const QString &why) {
        if (error)
            *error = why.arg(QDir::toNativeSeparators(path));
        return ReadResult::Refused;
    };
    if (!info.isFile() || info.size() > MaxBytes)
        return refuse(
            QObject::tr("機器のファイルが普通のファイルでないか、大きすぎるので、読みませんでした。\n"
                        "ファイル：%1"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(QObject::tr("機器のファイルを読めませんでした。\nファイル：%1\n") + file.errorString());
    *bytes = file.read(MaxBytes + 1);
    if (bytes->size() > MaxBytes)
        return refuse(QObject::tr("機器のファイルが大きすぎるので、読みませんでした。\nファイル：%1"));
    return ReadResult::Read;
}

bool write(const QString &path, const QByteArray &bytes, QString *error)
{
    const auto fail = [&](const QString &detail) {
        if (error)
            *error = QObject::tr("機器の設定を保存できませんでした。前の設定のままです。\nファイル：%1\n")
                         .arg(QDir::toNativeSeparators(path)) +
                     detail;
        return false;
    };
    if (QFileInfo(path).exists() && !QFileInfo(path).isFile())
        return fail(QObject::tr("普通のファイルではありません。"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    // The token in it opens the user's home: no one else may read it, even for a moment.
    if (!file.setPermissions(UserOnly))
        return fail(file.errorString());
    if (file.write(bytes) != bytes.size() || !file.commit())
        return fail(file.errorString());
    return true;
}

QString inSettingsFolder(const QString &fileName)
{
    // Where QSettings keeps the user's "Talk" settings.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation))
        .filePath(QStringLiteral("Talk/") + fileName);
}

} // namespace PrivateFile
