#include "CallFigures.h"

#include <DlogSink.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "LogFile.h"

namespace TetherBench {

namespace {

// Calls per loop: V8's own entry from C++ and the clock readings are spread
// thin over them.
const int s_iBatch = 1000;

struct CPair {
    const char* m_pszFigure;
    const char* m_pszOurs;      // script loop functions taking a count
    const char* m_pszBaseline;
    bool m_bLogToFile;          // ours writes its log lines to a file
    double m_dMaxRatio;         // the target; 0: none
};

const CPair s_aPairs[] = {
    // Against the bridge alone: what the plug-in itself adds to a call.
    {"player_get_duration(), log off, vs the same result through the bridge, no plug-in", "ourDuration",
     "bridgeDuration", false, 1.2},
    {"player_seek_to({param_seek_to}), log off, vs the same result through the bridge, no plug-in", "ourSeek",
     "bridgeSeek", false, 1.2},
    // Against a bare V8 method: the plug-in and the bridge library together.
    // The query's result of three properties against a one-store result.
    {"player_get_duration(), log off", "ourDuration", "bareCall", false, 1.5},
    {"player_seek_to({param_seek_to}), log off", "ourSeek", "bareCallWithArgs", false, 0},
    {"player_get_duration(), log to a file", "ourDuration", "bareCall", true, 0},
    {"player_seek_to({param_seek_to}), log to a file", "ourSeek", "bareCallWithArgs", true, 0},
    {"callback property assignment", "ourAssign", "bareAssign", false, 0},
    // Not ours: a bare method storing the three numbers of a query result.
    {"bare result of three stores (a query's least)", "bareCallThree", "bareCall", false, 0},
};

std::string BenchmarkName(const CPair& pair)
{
    return std::string(pair.m_pszOurs) + "/vs/" + pair.m_pszBaseline + (pair.m_bLogToFile ? "/log_file" : "/log_off");
}

double ThreadCpuNanos()
{
    timespec stTime;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &stTime);
    return static_cast<double>(stTime.tv_sec) * 1e9 + static_cast<double>(stTime.tv_nsec);
}

struct CLoops {
    v8::Global<v8::Function> m_ours;
    v8::Global<v8::Function> m_baseline;
};

void RunPair(benchmark::State& state, CBenchRuntime& runtime, const CLoops& loops, CLogFile* pLogFile)
{
    double dOurs = 0;
    double dBaseline = 0;
    bool bOursFirst = true;
    for (auto _ : state) {
        for (int iTurn = 0; iTurn < 2; ++iTurn) {
            bool bOurs = (iTurn == 0) == bOursFirst;
            if (bOurs && pLogFile != nullptr)
                Dlog::SetDestination(pLogFile->File());
            double dStart = ThreadCpuNanos();
            runtime.Call(bOurs ? loops.m_ours : loops.m_baseline, s_iBatch);
            (bOurs ? dOurs : dBaseline) += ThreadCpuNanos() - dStart;
            if (bOurs && pLogFile != nullptr) {
                Dlog::SetDestination(nullptr);
                pLogFile->Trim();
            }
        }
        bOursFirst = !bOursFirst;
    }
    double dCalls = static_cast<double>(state.iterations()) * s_iBatch;
    state.counters["ours_ns"] = dOurs / dCalls;
    state.counters["baseline_ns"] = dBaseline / dCalls;
    state.counters["ratio"] = dOurs / dBaseline;
}

// The console report, keeping the medians of each pair's counters.
class CMedianReporter : public benchmark::ConsoleReporter {
public:
    CMedianReporter() : benchmark::ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& aReports) override
    {
        benchmark::ConsoleReporter::ReportRuns(aReports);
        for (const Run& run : aReports) {
            if (run.error_occurred)
                continue;
            bool bMedian = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            bool bSingle = run.run_type == Run::RT_Iteration && m_mapMedians.count(run.run_name.function_name) == 0;
            if (!bMedian && !bSingle)
                continue;
            std::map<std::string, double>& mapCounters = m_mapMedians[run.run_name.function_name];
            for (const auto& counter : run.counters)
                mapCounters[counter.first] = counter.second.value;
        }
    }

    double Median(const std::string& strBenchmark, const std::string& strCounter) const
    {
        auto itBenchmark = m_mapMedians.find(strBenchmark);
        if (itBenchmark == m_mapMedians.end())
            return std::nan("");
        auto itCounter = itBenchmark->second.find(strCounter);
        return itCounter != itBenchmark->second.end() ? itCounter->second : std::nan("");
    }

private:
    std::map<std::string, std::map<std::string, double>> m_mapMedians;
};

}  // namespace

void RunCallFigures(CBenchRuntime& runtime, const CCallSettings& settings, CFigureTable& table)
{
    CLogFile logFile;
    std::vector<std::unique_ptr<CLoops>> aLoops;
    for (const CPair& pair : s_aPairs) {
        aLoops.emplace_back(new CLoops());
        CLoops* pLoops = aLoops.back().get();
        {
            v8::HandleScope scope(runtime.Isolate());
            pLoops->m_ours.Reset(runtime.Isolate(), runtime.Function(pair.m_pszOurs));
            pLoops->m_baseline.Reset(runtime.Isolate(), runtime.Function(pair.m_pszBaseline));
        }
        CLogFile* pLogFile = pair.m_bLogToFile ? &logFile : nullptr;
        CBenchRuntime* pRuntime = &runtime;
        benchmark::RegisterBenchmark(BenchmarkName(pair).c_str(),
                                     [pRuntime, pLoops, pLogFile](benchmark::State& state) {
                                         RunPair(state, *pRuntime, *pLoops, pLogFile);
                                     })
            ->Repetitions(settings.m_iRepetitions)
            ->MinTime(pair.m_bLogToFile ? settings.m_dMinSeconds / 2 : settings.m_dMinSeconds)
            ->DisplayAggregatesOnly(true)
            ->Unit(benchmark::kMicrosecond);
    }

    CMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    aLoops.clear();

    for (const CPair& pair : s_aPairs) {
        std::string strName = BenchmarkName(pair);
        table.Add({pair.m_pszFigure, "ns/call", reporter.Median(strName, "ours_ns"),
                   reporter.Median(strName, "baseline_ns"), reporter.Median(strName, "ratio"),
                   pair.m_dMaxRatio > 0 ? ETarget::RatioAtMost : ETarget::None, pair.m_dMaxRatio});
    }
}

}  // namespace TetherBench
