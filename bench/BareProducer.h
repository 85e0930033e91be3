// A producer thread of the bare event path, kept for the whole run as a
// player's event thread is, so that neither path pays for new threads or
// their cold allocator arenas.
#ifndef TETHER_BENCH_BARE_PRODUCER_H
#define TETHER_BENCH_BARE_PRODUCER_H

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace TetherBench {

class CBareProducer {
public:
    CBareProducer();
    ~CBareProducer();  // after the running job, if any

    // Runs the job on the thread; one job at a time.
    void Start(std::function<void()> job);
    // Waits until the job has run.
    void Wait();

private:
    void Run();

    std::mutex m_lock;
    std::condition_variable m_cvChanged;
    std::function<void()> m_job;
    bool m_bBusy = false;
    bool m_bStopping = false;
    std::thread m_thread;
};

}  // namespace TetherBench

#endif
