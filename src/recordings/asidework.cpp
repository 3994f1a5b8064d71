#include "recordings/asidework.h"

AsideWork::AsideWork(QObject *parent) : QObject(parent) {}

AsideWork::~AsideWork()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    // A finish() already posted goes with this object.
}

void AsideWork::run(Work work)
{
    if (busy())
        return;
    m_then = nullptr;
    m_stop = false;
    m_thread = std::thread([this, work = std::move(work)] {
        m_then = work(m_stop);
        QMetaObject::invokeMethod(this, &AsideWork::finish, Qt::QueuedConnection);
    });
}

void AsideWork::finish()
{
    m_thread.join(); // the work's writes are seen from here on
    const std::function<void()> then = std::move(m_then);
    m_then = nullptr;
    if (then)
        then();
}
