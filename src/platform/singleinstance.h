#pragma once

#include <QLockFile>
#include <QString>
#include <memory>

// Holds the program's instance lock for as long as it lives. Only a live
// process holding the lock counts as another instance: a lock left by a run
// that crashed, or an empty or garbled lock file (what a power cut can leave),
// is taken over, and a lock that cannot be made at all does not stop the start.
class SingleInstance
{
public:
    enum class State { First, AlreadyRunning, Unlocked };

    explicit SingleInstance(const QString &lockPath);
    State state() const { return m_state; }
    // False only when another instance is running.
    bool isFirst() const { return m_state != State::AlreadyRunning; }
    // Why the lock could not be taken, when the state is Unlocked.
    QString problem() const { return m_problem; }
    static QString defaultLockPath();

private:
    std::unique_ptr<QLockFile> m_lock;
    State m_state = State::Unlocked;
    QString m_problem;
};
