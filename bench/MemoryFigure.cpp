#include "MemoryFigure.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <thread>
#include <unistd.h>

#include "EventFigures.h"

namespace TetherBench {

namespace {

// Events are fired and delivered a thousand at a time: the figure is about
// what stays behind, not about how long a flood's queue can grow.
const std::size_t s_uChunk = 1000;
// Script loops of this many calls each.
const std::size_t s_uLoop = 10000;

double ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    unsigned long ulSize = 0, ulResident = 0;
    statm >> ulSize >> ulResident;
    return static_cast<double>(ulResident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1024.0;
}

void CallLoop(CBenchRuntime& runtime, const char* pszFunction, std::size_t uCount)
{
    v8::Global<v8::Function> function;
    {
        v8::HandleScope scope(runtime.Isolate());
        function.Reset(runtime.Isolate(), runtime.Function(pszFunction));
    }
    for (std::size_t uDone = 0; uDone < uCount; uDone += s_uLoop)
        runtime.Call(function, static_cast<double>(std::min(s_uLoop, uCount - uDone)));
}

// A reading after full collections, with V8's freed pages given the time to
// be unmapped by its background threads and malloc's free pages handed back:
// garbage, and memory freed but kept for reuse, is not memory kept. The
// lowest of three readings.
double SettledResidentKiB(CBenchRuntime& runtime)
{
    double dLowest = 0;
    for (int i = 0; i < 3; ++i) {
        runtime.CollectGarbage();
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        malloc_trim(0);
        double dResident = ResidentKiB();
        if (i == 0 || dResident < dLowest)
            dLowest = dResident;
    }
    return dLowest;
}

void OurWork(CBenchRuntime& runtime, std::size_t uFirstPlayer, std::size_t uCommands, std::size_t uEvents)
{
    CallLoop(runtime, "ourDuration", uCommands / 2);
    CallLoop(runtime, "ourSeek", uCommands - uCommands / 2);
    DeliverInChunks(runtime, nullptr, uFirstPlayer, uEvents, s_uChunk);
}

void BareWork(CBenchRuntime& runtime, CBareEvents& bare, std::size_t uCommands, std::size_t uEvents)
{
    CallLoop(runtime, "bareCall", uCommands / 2);
    CallLoop(runtime, "bareCallWithArgs", uCommands - uCommands / 2);
    DeliverInChunks(runtime, &bare, 0, uEvents, s_uChunk);
}

}  // namespace

void RunMemoryFigure(CBenchRuntime& runtime, CBareEvents& bare, std::size_t uFirstPlayer,
                     const CMemorySettings& settings, CFigureTable& table)
{
    std::printf("\nMemory: %zu commands and %zu events after a warm-up of %zu of each\n", settings.m_uCommands,
                settings.m_uEvents, settings.m_uWarmUp);
    std::fflush(stdout);

    OurWork(runtime, uFirstPlayer, settings.m_uWarmUp, settings.m_uWarmUp);
    BareWork(runtime, bare, settings.m_uWarmUp, settings.m_uWarmUp);

    double dOurStart = SettledResidentKiB(runtime);
    OurWork(runtime, uFirstPlayer, settings.m_uCommands, settings.m_uEvents);
    double dOurEnd = SettledResidentKiB(runtime);
    std::printf("  ours: resident %.0f KiB after warm-up, %.0f KiB after the run\n", dOurStart, dOurEnd);
    std::fflush(stdout);

    double dBareStart = SettledResidentKiB(runtime);
    BareWork(runtime, bare, settings.m_uCommands, settings.m_uEvents);
    double dBareEnd = SettledResidentKiB(runtime);
    std::printf("  bare: resident %.0f KiB before, %.0f KiB after the run\n", dBareStart, dBareEnd);

    table.Add({"resident memory growth over the run", "KiB", dOurEnd - dOurStart, dBareEnd - dBareStart,
               std::nan(""), ETarget::OursBelow, 1024});
}

}  // namespace TetherBench
