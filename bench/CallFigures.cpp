#include "CallFigures.h"

#include <DlogSink.h>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>


namespace TetherBench {

namespace {

// Calls per timed iteration: one script loop, so that V8's own entry from
// C++ is spread thin.
const int s_iBatch = 1000;


// Where the log lines go while a loop runs: nowhere, or a file that starts
// empty for every repetition.
class CLogDestination {
public:
    explicit CLogDestination(std::FILE* pFile) : m_pFile(pFile)
    {
        if (m_pFile == nullptr)
            return;
        std::rewind(m_pFile);
        if (ftruncate(fileno(m_pFile), 0) != 0)
            std::perror("tether_bench: truncating the log file");
        Dlog::SetDestination(m_pFile);
    }
    ~CLogDestination() { Dlog::SetDestination(nullptr); }

private:
    std::FILE* m_pFile;
};

struct CLoop {
    const char* m_pszBenchmark;
    const char* m_pszFunction;
    bool m_bLogToFile;
};

const CLoop s_aLoops[] = {
    {"command/player_get_duration/log_off", "ourDuration", false},
    {"bare/call", "bareCall", false},
    {"command/player_seek_to/log_off", "ourSeek", false},
    {"bare/call_with_args", "bareCallWithArgs", false},
    {"bare/call_naive_key", "bareCallNaiveKey", false},
    {"command/player_get_duration/log_file", "ourDuration", true},
    {"command/player_seek_to/log_file", "ourSeek", true},
    {"assign/onbuffering", "ourAssign", false},
    {"bare/assign_global", "bareAssign", false},
};

// The console report, keeping each benchmark's median time per call.
class CMedianReporter : public benchmark::ConsoleReporter {
public:
    CMedianReporter() : benchmark::ConsoleReporter(OO_Tabular) {}

    void ReportRuns(const std::vector<Run>& aReports) override
    {
        benchmark::ConsoleReporter::ReportRuns(aReports);
        for (const Run& run : aReports) {
            auto it = run.counters.find("time_per_call");
            if (it == run.counters.end() || run.error_occurred)
                continue;
            const std::string& strName = run.run_name.function_name;
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                m_mapMedianNs[strName] = it->second.value * 1e9;
            else if (run.run_type == Run::RT_Iteration && m_mapMedianNs.count(strName) == 0)
                m_mapSingleNs[strName] = it->second.value * 1e9;
        }
    }

    double NsPerCall(const std::string& strName) const
    {
        auto it = m_mapMedianNs.find(strName);
        if (it != m_mapMedianNs.end())
            return it->second;
        it = m_mapSingleNs.find(strName);
        return it != m_mapSingleNs.end() ? it->second : std::nan("");
    }

private:
    std::map<std::string, double> m_mapMedianNs;
    std::map<std::string, double> m_mapSingleNs;
};

}  // namespace

void RunCallFigures(CBenchRuntime& runtime, const CCallSettings& settings, CFigureTable& table)
{
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> pLogFile(std::tmpfile(), std::fclose);
    if (!pLogFile)
        std::perror("tether_bench: no temporary log file");

    std::vector<std::unique_ptr<v8::Global<v8::Function>>> aFunctions;
    for (const CLoop& loop : s_aLoops) {
        {
            v8::HandleScope scope(runtime.Isolate());
            aFunctions.emplace_back(
                new v8::Global<v8::Function>(runtime.Isolate(), runtime.Function(loop.m_pszFunction)));
        }
        const v8::Global<v8::Function>* pFunction = aFunctions.back().get();
        std::FILE* pFile = loop.m_bLogToFile ? pLogFile.get() : nullptr;
        CBenchRuntime* pRuntime = &runtime;
        benchmark::RegisterBenchmark(loop.m_pszBenchmark,
                                     [pRuntime, pFunction, pFile](benchmark::State& state) {
                                         CLogDestination destination(pFile);
                                         for (auto _ : state)
                                             pRuntime->Call(*pFunction, s_iBatch);
                                         state.counters["time_per_call"] = benchmark::Counter(
                                             s_iBatch, benchmark::Counter::kIsIterationInvariantRate |
                                                           benchmark::Counter::kInvert);
                                     })
            ->Repetitions(settings.m_iRepetitions)
            ->MinTime(loop.m_bLogToFile ? settings.m_dMinSeconds / 2 : settings.m_dMinSeconds)
            ->MeasureProcessCPUTime()
            ->DisplayAggregatesOnly(true)
            ->Unit(benchmark::kMicrosecond);
    }

    CMedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (auto& pFunction : aFunctions)
        pFunction->Reset();

    auto ns = [&reporter](const char* pszName) { return reporter.NsPerCall(pszName); };
    table.Add({"player_get_duration(), log off", "ns/call", ns("command/player_get_duration/log_off"),
               ns("bare/call"), ETarget::RatioAtMost, 2.0});
    table.Add({"player_seek_to({param_seek_to}), log off", "ns/call", ns("command/player_seek_to/log_off"),
               ns("bare/call_with_args"), ETarget::RatioAtMost, 2.0});
    table.Add({"player_get_duration(), log to a file", "ns/call", ns("command/player_get_duration/log_file"),
               ns("bare/call"), ETarget::None, 0});
    table.Add({"player_seek_to({param_seek_to}), log to a file", "ns/call",
               ns("command/player_seek_to/log_file"), ns("bare/call_with_args"), ETarget::None, 0});
    table.Add({"callback property assignment", "ns/call", ns("assign/onbuffering"), ns("bare/assign_global"),
               ETarget::None, 0});
}

}  // namespace TetherBench
