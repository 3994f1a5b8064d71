#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Holds the program's instance lock for as long as it lives. A lock left by a
// run that crashed is taken over, because QLockFile checks the owner is alive.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &lockPath);
    bool isFirst() const { return m_first; }
    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_first = false;
};
