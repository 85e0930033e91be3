// The floor of event delivery: producer threads that queue one
// clutter_threads_add_idle_full per event, and a main-loop function that
// calls a script function with the event's one string, nothing else.
#ifndef TETHER_BENCH_BARE_EVENTS_H
#define TETHER_BENCH_BARE_EVENTS_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "BareProducer.h"
#include "BenchRuntime.h"

namespace TetherBench {

class CBareEvents {
public:
    static const int s_iProducers = 4;

    explicit CBareEvents(CBenchRuntime& runtime);
    ~CBareEvents();

    // The global script function that receives every event from now on.
    void SetFunction(const char* pszName);

    // iThreads producers (up to four) each queue uPerThread events carrying
    // strText, at full speed; returns at once.
    void StartBurst(int iThreads, std::size_t uPerThread, const std::string& strText);
    // The first producer queues uCount events, one every uIntervalMicros
    // from uDelayMicros on, each carrying the steady clock's nanoseconds cut
    // to 32 bits, as the simulated player's clock-time events do; returns at
    // once.
    void StartPaced(std::size_t uCount, unsigned uIntervalMicros, unsigned uDelayMicros);
    // Waits until the producers have queued their events.
    void Wait();

private:
    struct CRecord {
        CBareEvents* m_pOwner;
        std::string m_strText;
    };
    static int Deliver(void* pData);
    void Queue(std::string strText);

    CBenchRuntime& m_rRuntime;
    v8::Global<v8::Function> m_function;
    std::vector<std::unique_ptr<CBareProducer>> m_aProducers;
};

}  // namespace TetherBench

#endif
