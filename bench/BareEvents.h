// The floor of event delivery: producer threads that queue one
// clutter_threads_add_idle_full per event, and a main-loop function that
// calls a script function with the event's one string, nothing else.
#ifndef TETHER_BENCH_BARE_EVENTS_H
#define TETHER_BENCH_BARE_EVENTS_H

#include <cstddef>
#include <string>
#include <thread>
#include <vector>

#include "BenchRuntime.h"

namespace TetherBench {

class CBareEvents {
public:
    explicit CBareEvents(CBenchRuntime& runtime) : m_rRuntime(runtime) {}
    ~CBareEvents() { m_function.Reset(); }

    // The global script function that receives every event from now on.
    void SetFunction(const char* pszName);

    // iThreads threads each queue uPerThread events carrying strText, at
    // full speed. The caller joins the threads.
    std::vector<std::thread> StartBurst(int iThreads, std::size_t uPerThread, const std::string& strText);
    // One thread queues uCount events, one every uIntervalMicros, each
    // carrying the steady clock's nanoseconds cut to 32 bits, as the
    // simulated player's clock-time events do.
    std::thread StartPaced(std::size_t uCount, unsigned uIntervalMicros);

private:
    struct CRecord {
        CBareEvents* m_pOwner;
        std::string m_strText;
    };
    static int Deliver(void* pData);
    void Queue(std::string strText);

    CBenchRuntime& m_rRuntime;
    v8::Global<v8::Function> m_function;
};

}  // namespace TetherBench

#endif
