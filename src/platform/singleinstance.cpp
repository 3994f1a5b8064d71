#include "platform/singleinstance.h"

#include <QDir>
#include <QStandardPaths>
#include <QThread>

namespace {

bool ownerKnown(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host, app;
    return lock.getLockInfo(&pid, &host, &app) && pid > 0;
}

} // namespace

SingleInstance::SingleInstance(const QString &lockPath) : m_lock(std::make_unique<QLockFile>(lockPath))
{
    m_lock->setStaleLockTime(0);
    if (m_lock->tryLock(0)) {
        m_state = State::First;
        return;
    }
    if (m_lock->error() == QLockFile::LockFailedError) {
        // A lock being written this very moment is empty for an instant; one that stays
        // unreadable names no owner, so nobody holds it.
        if (!ownerKnown(*m_lock)) {
            QThread::msleep(200);
            if (!ownerKnown(*m_lock) && m_lock->removeStaleLockFile() && m_lock->tryLock(0)) {
                m_state = State::First;
                return;
            }
        }
        if (ownerKnown(*m_lock)) {
            m_state = State::AlreadyRunning;
            return;
        }
    }
    m_state = State::Unlocked;
    m_problem =
        QStringLiteral("the lock %1 cannot be taken (error %2)").arg(lockPath).arg(int(m_lock->error()));
}

QString SingleInstance::defaultLockPath()
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    return QDir(dir).filePath(QStringLiteral("pirokan.lock"));
}
