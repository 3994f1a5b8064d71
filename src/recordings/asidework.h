#pragma once

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// One piece of slow work at a time (opening the microphone, keeping a take, an
// import, an export) on a thread of its own, so the window, the switch scan and
// the call stay live; what it hands back is done on the window's thread once it ends.
class AsideWork final : public QObject
{
public:
    // Runs aside; `stop` asks it to end after the file in hand. Returns what to do when it ends.
    using Work = std::function<std::function<void()>(const std::atomic_bool &stop)>;

    explicit AsideWork(QObject *parent = nullptr);
    // Asks the work to stop and waits for it: what it finished by then stays done, and what it
    // handed back is not done.
    ~AsideWork() override;

    bool busy() const { return m_thread.joinable(); }
    void run(Work work);

private:
    void finish();

    std::thread m_thread;
    std::atomic_bool m_stop = false;
    std::function<void()> m_then; // written by the work's thread before it posts finish()
};
