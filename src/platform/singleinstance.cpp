#include "platform/singleinstance.h"

#include <QDir>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString &lockPath) : m_lock(std::make_unique<QLockFile>(lockPath))
{
    m_lock->setStaleLockTime(0);
    m_first = m_lock->tryLock(0);
}

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("pirokan.lock"));
}
