#include "EventQueue.h"

namespace DeviceAPI {
namespace Cinecast {

std::shared_ptr<CEventQueue> CEventQueue::Create()
{
    return std::shared_ptr<CEventQueue>(new CEventQueue());
}

CEventQueue::~CEventQueue()
{
    // Only reached after Stop, or from the detached thread itself.
    if (m_thread.joinable())
        m_thread.detach();
}

std::future<bool> CEventQueue::Post(Task task)
{
    CQueued queued;
    queued.m_task = std::move(task);
    std::future<bool> result = queued.m_promise.get_future();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_bStopping) {
            queued.m_promise.set_value(false);
            return result;
        }
        if (!m_thread.joinable()) {
            std::shared_ptr<CEventQueue> pSelf = shared_from_this();
            m_thread = std::thread([pSelf] { pSelf->run(); });
            m_threadId = m_thread.get_id();
        }
        m_aQueue.push_back(std::move(queued));
    }
    // Woken with the lock let go: woken under it, the player's thread would
    // only wait for the lock once more, and a burst from it runs measurably
    // slower.
    m_cvWork.notify_one();
    return result;
}

void CEventQueue::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_cvWork.wait(lock, [this] { return m_bStopping || !m_aQueue.empty(); });
        if (m_bStopping)
            break;
        CQueued queued = std::move(m_aQueue.front());
        m_aQueue.pop_front();
        m_bRunning = true;
        lock.unlock();
        bool bResult = false;
        try {
            bResult = queued.m_task(m_bStopping);
            queued.m_promise.set_value(bResult);
        } catch (...) {
            queued.m_promise.set_exception(std::current_exception());
        }
        lock.lock();
        m_bRunning = false;
        if (m_aQueue.empty())
            m_cvIdle.notify_all();
    }
}

void CEventQueue::Drain()
{
    std::unique_lock<std::mutex> lock(m_lock);
    m_cvIdle.wait(lock, [this] { return m_bStopping || (m_aQueue.empty() && !m_bRunning); });
}

void CEventQueue::Stop()
{
    std::deque<CQueued> aDropped;
    std::thread thread;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_bStopping = true;
        aDropped.swap(m_aQueue);
        thread.swap(m_thread);
        m_cvWork.notify_all();
        m_cvIdle.notify_all();
    }
    for (CQueued& queued : aDropped)
        queued.m_promise.set_value(false);
    if (!thread.joinable())
        return;
    if (thread.get_id() == std::this_thread::get_id())
        thread.detach();  // ended from its own handler: it finishes by itself
    else
        thread.join();
}

bool CEventQueue::IsOwnThread() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_threadId == std::this_thread::get_id();
}

}  // namespace Cinecast
}  // namespace DeviceAPI
