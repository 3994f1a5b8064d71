#include "platform/entrystorage.h"

#include "platform/textcodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QSaveFile>
#include <QStandardPaths>

QString FolderEntryStorage::pathOf(const QString &name) const
{
    return QDir(m_folder).filePath(name);
}

bool FolderEntryStorage::exists(const QString &name) const
{
    return QFileInfo::exists(pathOf(name));
}

EntryStorage::Read FolderEntryStorage::read(const QString &name)
{
    Read r;
    QFile file(pathOf(name));
    r.exists = file.exists();
    if (!r.exists)
        return r;
    if (!file.open(QIODevice::ReadOnly)) {
        r.error = QObject::tr("%1 cannot be read: %2").arg(file.fileName(), file.errorString());
        m_unreadable.insert(name);
        return r;
    }
    const auto text = TextCodec::decode(file.readAll());
    if (!text) {
        r.error = QObject::tr("%1 is not in a known text encoding").arg(file.fileName());
        m_unreadable.insert(name);
        return r;
    }
    m_unreadable.remove(name);
    r.ok = true;
    r.text = *text;
    return r;
}

bool FolderEntryStorage::write(const QString &name, const QString &text, QString *error)
{
    if (m_unreadable.contains(name)) {
        if (error)
            *error = QObject::tr("%1 could not be read, so it is not overwritten").arg(pathOf(name));
        return false;
    }
    QDir().mkpath(m_folder);
    QSaveFile file(pathOf(name));
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const QByteArray bytes = TextCodec::encode(text);
    if (m_failNext) {
        m_failNext = false;
        file.write(bytes.left(bytes.size() / 2));
        file.cancelWriting();
        file.commit();
        if (error)
            *error = QObject::tr("writing %1 was interrupted").arg(file.fileName());
        return false;
    }
    if (file.write(bytes) != bytes.size() || !file.commit()) {
        if (error)
            *error = QObject::tr("%1 could not be saved: %2").arg(pathOf(name), file.errorString());
        return false;
    }
    return true;
}

QString FolderEntryStorage::chooseFolder(const QString &programFolder)
{
    const QFileInfo talk(QDir(programFolder).filePath(QStringLiteral("Talk.txt")));
    if (talk.exists() && QFileInfo(programFolder).isWritable())
        return programFolder;
    // An installed program's folder, or a build folder that may be wiped, is no place for the user's words.
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}
