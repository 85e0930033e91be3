// tether_bench: the plug-in's figures beside the floor of V8 and GLib, or of
// the bridge library without the plug-in, measured in one process and one run.
//
//   tether_bench [--quick] [--only=calls|events|memory] [--benchmark_...]
//
// --quick runs a tenth of everything (a check, not a measurement); --only
// runs one group of figures (for profiling); other options go to Google
// Benchmark, which times the call loops.
#include <DlogSink.h>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "BareBridge.h"
#include "BareClass.h"
#include "BareEvents.h"
#include "BenchRuntime.h"
#include "BenchScript.h"
#include "CallFigures.h"
#include "EventFigures.h"
#include "FigureTable.h"
#include "MemoryFigure.h"

int main(int argc, char** argv)
{
    using namespace TetherBench;

    CCallSettings callSettings;
    CEventSettings eventSettings;
    CMemorySettings memorySettings;
    std::string strOnly;
    char szInterleave[] = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> aBenchmarkArgs{argv[0], szInterleave};
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], "--only=", 7) == 0) {
            strOnly = argv[i] + 7;
            if (strOnly != "calls" && strOnly != "events" && strOnly != "memory") {
                std::fprintf(stderr, "tether_bench: --only takes calls, events or memory\n");
                return 2;
            }
        } else if (std::strcmp(argv[i], "--quick") == 0) {
            callSettings.m_iRepetitions = 3;
            callSettings.m_dMinSeconds = 0.02;
            eventSettings.m_uBurstEvents /= 10;
            eventSettings.m_iRounds = 2;
            eventSettings.m_uPacedEvents /= 10;
            eventSettings.m_uLoggedEvents /= 10;
            eventSettings.m_iLoggedRounds = 2;
            memorySettings.m_uCommands /= 10;
            memorySettings.m_uEvents /= 10;
            memorySettings.m_uWarmUp /= 10;
        } else {
            aBenchmarkArgs.push_back(argv[i]);
        }
    }
    int iBenchmarkArgc = static_cast<int>(aBenchmarkArgs.size());
    benchmark::Initialize(&iBenchmarkArgc, aBenchmarkArgs.data());
    if (benchmark::ReportUnrecognizedArguments(iBenchmarkArgc, aBenchmarkArgs.data()))
        return 2;

    // The log destination is off unless a figure asks for a file.
    Dlog::SetDestination(nullptr);
    bool bAllMet;
    {
        CBenchRuntime runtime(argv[0]);
        InstallBareClass(runtime);
        InstallBareBridge();
        std::size_t uFirstPlayer = InstallBenchScript(runtime);
        CBareEvents bare(runtime);

        CFigureTable table;
        if (strOnly.empty() || strOnly == "calls")
            RunCallFigures(runtime, callSettings, table);
        if (strOnly.empty() || strOnly == "events")
            RunEventFigures(runtime, bare, uFirstPlayer, eventSettings, table);
        if (strOnly.empty() || strOnly == "memory")
            RunMemoryFigure(runtime, bare, uFirstPlayer, memorySettings, table);

        std::printf("\nFigures: ours, the bare path's baseline measured beside it, ours / baseline (for calls\n"
                    "the median of the ratios of runs made side by side, for event rates the median over pairs\n"
                    "of such runs, one with each path first)\n\n");
        bAllMet = table.Print();
        std::printf("%s\n", bAllMet ? "Every target met." : "Some targets MISSED.");
        ReleaseBareNatives();
    }
    return bAllMet ? 0 : 1;
}
