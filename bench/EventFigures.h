// Event delivery from simulated players' threads into a script callback,
// against the bare path in the same process: throughput at full speed from
// one and from four threads, and latency of paced events.
#ifndef TETHER_BENCH_EVENT_FIGURES_H
#define TETHER_BENCH_EVENT_FIGURES_H

#include <cstddef>

#include "BareEvents.h"
#include "BenchRuntime.h"
#include "FigureTable.h"

namespace TetherBench {

struct CEventSettings {
    // Many short runs, ours and the baseline's in turn: the machine's load
    // changes from moment to moment, and both should see the same mix. The
    // shorter the runs, the closer the two of a pair are in time and the
    // more pairs the median has.
    std::size_t m_uBurstEvents = 20000;   // per throughput run, over all threads
    int m_iRounds = 160;                  // runs of each kind, an even number; the median ratio counts
    std::size_t m_uPacedEvents = 40000;   // per path, in twenty parts, both paths at once on one core
    unsigned m_uIntervalMicros = 100;
    // With the log written to a file; figures without a target.
    std::size_t m_uLoggedEvents = 10000;  // per throughput run
    int m_iLoggedRounds = 4;              // even, as m_iRounds
};

// Needs the bench script installed; uFirstPlayer is what it answered.
void RunEventFigures(CBenchRuntime& runtime, CBareEvents& bare, std::size_t uFirstPlayer,
                     const CEventSettings& settings, CFigureTable& table);

// Delivers uCount events of ours (on players[0]) or of the bare path to
// countEvent in chunks of uChunk, each chunk delivered before the next is
// fired, so the queue never holds more than one chunk.
void DeliverInChunks(CBenchRuntime& runtime, CBareEvents* pBare, std::size_t uFirstPlayer, std::size_t uCount,
                     std::size_t uChunk);

}  // namespace TetherBench

#endif
