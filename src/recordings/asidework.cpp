#include "recordings/asidework.h"

AsideWork::AsideWork(QObject *parent) : QObject(parent)
{
    m_watch.setInterval(100);
    connect(&m_watch, &QTimer::timeout, this, &AsideWork::check);
}

AsideWork::~AsideWork()
{
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
}

void AsideWork::run(Work work)
{
    if (busy())
        return;
    m_finished.reset();
    m_stop = false;
    m_thread = std::thread([this, work = std::move(work)] {
        std::atomic_store(&m_finished, std::make_shared<std::function<void()>>(work(m_stop)));
    });
    m_watch.start();
}

void AsideWork::check()
{
    const auto then = std::atomic_load(&m_finished);
    if (!then)
        return;
    m_watch.stop();
    m_thread.join();
    (*then)();
}
