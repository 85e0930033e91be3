#include "BareProducer.h"

namespace TetherBench {

CBareProducer::CBareProducer() : m_thread([this] { Run(); }) {}

CBareProducer::~CBareProducer()
{
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_cvChanged.wait(lock, [this] { return !m_bBusy; });
        m_bStopping = true;
    }
    m_cvChanged.notify_all();
    m_thread.join();
}

void CBareProducer::Start(std::function<void()> job)
{
    {
        std::unique_lock<std::mutex> lock(m_lock);
        m_cvChanged.wait(lock, [this] { return !m_bBusy; });
        m_job = std::move(job);
        m_bBusy = true;
    }
    m_cvChanged.notify_all();
}

void CBareProducer::Wait()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_cvChanged.wait(lock, [this] { return !m_bBusy; });
}

void CBareProducer::Run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_cvChanged.wait(lock, [this] { return m_bStopping || m_bBusy; });
        if (m_bStopping)
            return;
        std::function<void()> job = std::move(m_job);
        lock.unlock();
        job();
        lock.lock();
        m_bBusy = false;
        m_cvChanged.notify_all();
    }
}

}  // namespace TetherBench
