// Routed commands and callback property assignments, timed as script loops
// with Google Benchmark beside the bare class's calls.
#ifndef TETHER_BENCH_CALL_FIGURES_H
#define TETHER_BENCH_CALL_FIGURES_H

#include "BenchRuntime.h"
#include "FigureTable.h"

namespace TetherBench {

struct CCallSettings {
    int m_iRepetitions = 5;
    double m_dMinSeconds = 0.2;  // per repetition
};

// Registers the loops with Google Benchmark, runs them (with the options of
// the command line given to benchmark::Initialize) and adds the medians to
// the table. Needs the bench script installed.
void RunCallFigures(CBenchRuntime& runtime, const CCallSettings& settings, CFigureTable& table);

}  // namespace TetherBench

#endif
