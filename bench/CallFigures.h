// Routed commands and callback property assignments against the bare
// classes' calls, timed as script loops with Google Benchmark.
//
// Each benchmark is a pair: every iteration runs a loop of ours and the same
// loop of the baseline, in alternating order, and times each on the main
// thread's CPU clock. The machine's load changes from moment to moment, so
// a figure and its baseline are only comparable when measured side by side;
// the ratio reported is the median of the repetitions' ratios.
#ifndef TETHER_BENCH_CALL_FIGURES_H
#define TETHER_BENCH_CALL_FIGURES_H

#include "BenchRuntime.h"
#include "FigureTable.h"

namespace TetherBench {

struct CCallSettings {
    int m_iRepetitions = 11;
    double m_dMinSeconds = 0.1;  // of CPU time per repetition, both loops together
};

// Registers the pairs with Google Benchmark, runs them (with the options of
// the command line given to benchmark::Initialize) and adds the medians to
// the table. Needs the bench script installed.
void RunCallFigures(CBenchRuntime& runtime, const CCallSettings& settings, CFigureTable& table);

}  // namespace TetherBench

#endif
