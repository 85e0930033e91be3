// Resident memory kept over a million commands and a million events, against
// the same counts of bare calls and bare events.
#ifndef TETHER_BENCH_MEMORY_FIGURE_H
#define TETHER_BENCH_MEMORY_FIGURE_H

#include <cstddef>

#include "BareEvents.h"
#include "BenchRuntime.h"
#include "FigureTable.h"

namespace TetherBench {

struct CMemorySettings {
    std::size_t m_uCommands = 1000000;  // half player_get_duration, half player_seek_to
    std::size_t m_uEvents = 1000000;
    std::size_t m_uWarmUp = 200000;     // of each, before the first reading
};

// Needs the bench script installed; uFirstPlayer is what it answered.
void RunMemoryFigure(CBenchRuntime& runtime, CBareEvents& bare, std::size_t uFirstPlayer,
                     const CMemorySettings& settings, CFigureTable& table);

}  // namespace TetherBench

#endif
