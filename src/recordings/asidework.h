#pragma once

#include <QObject>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// One piece of slow work at a time (an import, an export) on a thread of its
// own, so the window, the switch scan and the call stay live; what it hands
// back is done on the window's thread once it ends.
class AsideWork final : public QObject
{
public:
    // Runs aside; `stop` asks it to end after the file in hand. Returns what to do when it ends.
    using Work = std::function<std::function<void()>(const std::atomic_bool &stop)>;

    explicit AsideWork(QObject *parent = nullptr);
    // Asks the work to stop and waits for it: what it finished by then stays done.
    ~AsideWork() override;

    bool busy() const { return m_thread.joinable(); }
    void run(Work work);

private:
    void check();

    std::thread m_thread;
    std::atomic_bool m_stop = false;
    std::shared_ptr<std::function<void()>> m_finished; // set by the work's thread
    QTimer m_watch;
};
