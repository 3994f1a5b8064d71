#include "platform/folderplaces.h"

#include <QDir>
#include <QObject>
#include <QStandardPaths>
#include <QStorageInfo>

QList<FolderPlace> FolderPlaces()
{
    QList<FolderPlace> out;
    for (const QStorageInfo &volume : QStorageInfo::mountedVolumes()) {
        const QString root = volume.rootPath();
        const bool plugged = root.startsWith(QLatin1String("/media/")) ||
                             root.startsWith(QLatin1String("/run/media/")) ||
                             root.startsWith(QLatin1String("/mnt/"));
        if (!volume.isValid() || !volume.isReady() || !plugged)
            continue;
        const QString name = volume.displayName().isEmpty() ? QDir(root).dirName() : volume.displayName();
        out.append({QObject::tr("外部：%1").arg(name), root});
    }
    out.append({QObject::tr("ホーム"), QDir::homePath()});
    for (const auto &[location, caption] :
         {std::pair{QStandardPaths::DocumentsLocation, QObject::tr("ドキュメント")},
          std::pair{QStandardPaths::DesktopLocation, QObject::tr("デスクトップ")},
          std::pair{QStandardPaths::MusicLocation, QObject::tr("ミュージック")}}) {
        const QString path = QStandardPaths::writableLocation(location);
        if (!path.isEmpty() && path != QDir::homePath() && QDir(path).exists())
            out.append({caption, path});
    }
    return out;
}

QStringList Subfolders(const QString &path)
{
    QDir dir(path);
    dir.setSorting(QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    return dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Readable);
}
