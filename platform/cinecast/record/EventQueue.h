// The thread on which one simulated or model adapter fires forced events.
#ifndef CINECAST_EVENT_QUEUE_H
#define CINECAST_EVENT_QUEUE_H

#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <memory>
#include <mutex>
#include <thread>

namespace DeviceAPI {
namespace Cinecast {

// Shared with its thread, so that the thread may outlive the owner when the
// owner is ended from that very thread.
class CEventQueue : public std::enable_shared_from_this<CEventQueue> {
public:
    // A task may look at bStopping to cut a long run short.
    typedef std::function<bool(const std::atomic<bool>& bStopping)> Task;

    static std::shared_ptr<CEventQueue> Create();
    ~CEventQueue();

    // Starts the thread on first need. The future holds the task's result,
    // or false when the queue stopped before the task ran.
    std::future<bool> Post(Task task);
    // Waits until nothing is queued or running, or the queue has stopped.
    void Drain();
    // Drops what is queued, waits for a running task and ends the thread.
    // Afterwards no task runs any more.
    void Stop();
    bool IsOwnThread() const;

private:
    struct CQueued {
        Task m_task;
        std::promise<bool> m_promise;
    };

    CEventQueue() = default;
    void run();

    mutable std::mutex m_lock;
    std::condition_variable m_cvWork;
    std::condition_variable m_cvIdle;
    std::deque<CQueued> m_aQueue;
    bool m_bRunning = false;
    std::atomic<bool> m_bStopping{false};
    std::thread m_thread;
    std::thread::id m_threadId;
};

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
