#include "EventFigures.h"

#include <Bridge/ScriptBridge.h>
#include <Bridge/ThreadSafeCall.h>
#include <Cinecast/SimAdapter.h>
#include <DlogSink.h>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "BareProducer.h"
#include "BenchScript.h"
#include "LogFile.h"
#include "OneCore.h"

namespace TetherBench {

namespace {

namespace Sim = DeviceAPI::Cinecast::Sim;
using DeviceAPI::Cinecast::KITE_BRIDGE_CURRENT_TIME;

const char* const s_pszText = "12345";
const unsigned long long s_ullTime = 12345;

void ExpectEvents(CBenchRuntime& runtime, std::size_t uCount)
{
    runtime.Run("expectEvents(" + std::to_string(uCount) + ")");
}

// Events per second from iThreads players firing at full speed.
double OurThroughput(CBenchRuntime& runtime, std::size_t uFirstPlayer, int iThreads, std::size_t uEvents)
{
    std::size_t uPerThread = uEvents / static_cast<std::size_t>(iThreads);
    ExpectEvents(runtime, uPerThread * static_cast<std::size_t>(iThreads));
    unsigned long long ullStart = SteadyNanos();
    for (int i = 0; i < iThreads; ++i)
        runtime.Players().emitBurst(uFirstPlayer + static_cast<std::size_t>(i), KITE_BRIDGE_CURRENT_TIME,
                                    uPerThread, Sim::Time(s_ullTime));
    runtime.RunMainLoop();
    unsigned long long ullEnd = SteadyNanos();
    for (int i = 0; i < iThreads; ++i)
        runtime.Players().drain(uFirstPlayer + static_cast<std::size_t>(i));
    return static_cast<double>(uPerThread * static_cast<std::size_t>(iThreads)) * 1e9 /
           static_cast<double>(ullEnd - ullStart);
}

double BareThroughput(CBenchRuntime& runtime, CBareEvents& bare, int iThreads, std::size_t uEvents)
{
    std::size_t uPerThread = uEvents / static_cast<std::size_t>(iThreads);
    ExpectEvents(runtime, uPerThread * static_cast<std::size_t>(iThreads));
    bare.SetFunction("countEvent");
    unsigned long long ullStart = SteadyNanos();
    bare.StartBurst(iThreads, uPerThread, s_pszText);
    runtime.RunMainLoop();
    unsigned long long ullEnd = SteadyNanos();
    bare.Wait();
    return static_cast<double>(uPerThread * static_cast<std::size_t>(iThreads)) * 1e9 /
           static_cast<double>(ullEnd - ullStart);
}

// The same events from one producer thread through a plug-in's
// Bridge::ThreadSafeCall of countEvent.
double ThreadCallThroughput(CBenchRuntime& runtime, CBareProducer& producer, Bridge::ThreadSafeCall& call,
                            std::size_t uEvents)
{
    ExpectEvents(runtime, uEvents);
    unsigned long long ullStart = SteadyNanos();
    producer.Start([&call, uEvents] {
        for (std::size_t n = 0; n < uEvents; ++n)
            call.post(std::string(s_pszText));
    });
    runtime.RunMainLoop();
    unsigned long long ullEnd = SteadyNanos();
    producer.Wait();
    return static_cast<double>(uEvents) * 1e9 / static_cast<double>(ullEnd - ullStart);
}

// One part of the paced figure: both paths at once, each one event every
// uIntervalMicros, the bare path's half an interval after ours, so that what
// the machine does meanwhile it does to both; one path's event is long
// delivered before the other's is due. The caller keeps every thread on one
// core.
void PacedPart(CBenchRuntime& runtime, CBareEvents& bare, std::size_t uFirstPlayer, std::size_t uCount,
               unsigned uIntervalMicros, std::vector<double>& aOurs, std::vector<double>& aBare)
{
    runtime.Run("players[0].oncurrent_time = stampOurs");
    bare.SetFunction("stampBare");
    ExpectStamps(uCount);
    runtime.Players().emitBurst(uFirstPlayer, KITE_BRIDGE_CURRENT_TIME, uCount, Sim::ClockTime(), uIntervalMicros);
    bare.StartPaced(uCount, uIntervalMicros, uIntervalMicros / 2);
    runtime.RunMainLoop();
    runtime.Players().drain(uFirstPlayer);
    bare.Wait();
    runtime.Run("players[0].oncurrent_time = countEvent");
    aOurs = TakeStamps(false);
    aBare = TakeStamps(true);
}

double Percentile(std::vector<double> aValues, double dFraction)
{
    if (aValues.empty())
        return std::nan("");
    std::sort(aValues.begin(), aValues.end());
    std::size_t uIndex = static_cast<std::size_t>(dFraction * static_cast<double>(aValues.size() - 1) + 0.5);
    return aValues[uIndex];
}

// Of an even number of values, the mean of the middle two: neither path
// gets the better of the two.
double Median(std::vector<double> aValues)
{
    if (aValues.empty())
        return std::nan("");
    std::sort(aValues.begin(), aValues.end());
    std::size_t uHalf = aValues.size() / 2;
    return aValues.size() % 2 != 0 ? aValues[uHalf] : (aValues[uHalf - 1] + aValues[uHalf]) / 2;
}

// A run is faster or slower by what ran just before it (which path, how
// many threads): on this machine under load, by up to a fifth either way.
// So rounds come in pairs that run the two paths in either order, each
// pair's ratio is the geometric mean of its two rounds' ratios, and the
// figure is the median of those.
template <typename TOurs, typename TBare>
void RunInTurn(int iRound, TOurs ours, TBare bare)
{
    if (iRound % 2 == 0) {
        ours();
        bare();
    } else {
        bare();
        ours();
    }
}

std::vector<double> PairRatios(const std::vector<double>& aOurs, const std::vector<double>& aBare)
{
    std::vector<double> aPairs;
    for (std::size_t i = 0; i + 1 < aOurs.size(); i += 2)
        aPairs.push_back(std::sqrt(aOurs[i] / aBare[i] * (aOurs[i + 1] / aBare[i + 1])));
    return aPairs;
}

double PairedRatio(const std::vector<double>& aOurs, const std::vector<double>& aBare)
{
    return Median(PairRatios(aOurs, aBare));
}

// How far the pairs scatter: a figure is only as good as its middle half.
void PrintPairSpread(const char* pszName, const std::vector<double>& aOurs, const std::vector<double>& aBare)
{
    std::vector<double> aPairs = PairRatios(aOurs, aBare);
    std::printf("  %s: pair ratios from %.2f to %.2f, middle half %.2f to %.2f, median %.2f\n", pszName,
                Percentile(aPairs, 0), Percentile(aPairs, 1), Percentile(aPairs, 0.25), Percentile(aPairs, 0.75),
                Median(aPairs));
}

const char* FirstPath(int iRound)
{
    return iRound % 2 == 0 ? "ours first" : "bare first";
}

// Runs of one and of four player threads with our log lines written to a
// file, against the bare path, which has no log.
void RunLoggedFigures(CBenchRuntime& runtime, CBareEvents& bare, std::size_t uFirstPlayer,
                      const CEventSettings& settings, CFigureTable& table)
{
    CLogFile logFile;
    if (logFile.File() == nullptr)
        return;
    std::printf("Event delivery with our log written to a file: %d runs of %zu events each way\n",
                settings.m_iLoggedRounds, settings.m_uLoggedEvents);
    std::fflush(stdout);
    std::vector<double> aOurs1, aBare1, aOurs4, aBare4;
    for (int iRound = 0; iRound < settings.m_iLoggedRounds; ++iRound) {
        for (int iThreads : {1, 4}) {
            std::vector<double>& aOurs = iThreads == 1 ? aOurs1 : aOurs4;
            std::vector<double>& aBare = iThreads == 1 ? aBare1 : aBare4;
            RunInTurn(
                iRound,
                [&] {
                    Dlog::SetDestination(logFile.File());
                    aOurs.push_back(OurThroughput(runtime, uFirstPlayer, iThreads, settings.m_uLoggedEvents));
                    Dlog::SetDestination(nullptr);
                    logFile.Trim();
                },
                [&] { aBare.push_back(BareThroughput(runtime, bare, iThreads, settings.m_uLoggedEvents)); });
        }
    }
    table.Add({"event delivery, 1 player thread, log to a file", "events/s", Median(aOurs1), Median(aBare1),
               PairedRatio(aOurs1, aBare1), ETarget::None, 0});
    table.Add({"event delivery, 4 player threads, log to a file", "events/s", Median(aOurs4), Median(aBare4),
               PairedRatio(aOurs4, aBare4), ETarget::None, 0});
}

// A thread-safe call's events against the bare path's from one thread each,
// in pairs as above. The call's owner is the bench script's BareBridge.
void RunThreadCallFigure(CBenchRuntime& runtime, CBareEvents& bare, const CEventSettings& settings,
                         CFigureTable& table)
{
    std::printf("Events through a thread-safe call: %d runs of %zu events each way\n", settings.m_iRounds,
                settings.m_uBurstEvents);
    std::fflush(stdout);
    Bridge::ThreadSafeCall call;
    {
        v8::HandleScope scope(runtime.Isolate());
        v8::Context::Scope contextScope(runtime.Context());
        v8::Local<v8::Value> owner =
            runtime.Context()->Global()->Get(runtime.Context(), Bridge::StringToV8("bareBridge")).ToLocalChecked();
        call = Bridge::ThreadSafeCall(Bridge::ScriptBridge::extractRaw(owner.As<v8::Object>()),
                                      Bridge::ScriptFunction(runtime.Function("countEvent")));
    }
    CBareProducer producer;
    ThreadCallThroughput(runtime, producer, call, settings.m_uBurstEvents / 5);
    std::vector<double> aOurs, aBare;
    for (int iRound = 0; iRound < settings.m_iRounds; ++iRound)
        RunInTurn(
            iRound, [&] { aOurs.push_back(ThreadCallThroughput(runtime, producer, call, settings.m_uBurstEvents)); },
            [&] { aBare.push_back(BareThroughput(runtime, bare, 1, settings.m_uBurstEvents)); });
    PrintPairSpread("thread-safe call", aOurs, aBare);
    table.Add({"events through a thread-safe call, 1 thread", "events/s", Median(aOurs), Median(aBare),
               PairedRatio(aOurs, aBare), ETarget::RatioAtLeast, 0.9});
    call.release();
}

}  // namespace

void DeliverInChunks(CBenchRuntime& runtime, CBareEvents* pBare, std::size_t uFirstPlayer, std::size_t uCount,
                     std::size_t uChunk)
{
    if (pBare != nullptr)
        pBare->SetFunction("countEvent");
    for (std::size_t uDone = 0; uDone < uCount; uDone += uChunk) {
        std::size_t uThis = std::min(uChunk, uCount - uDone);
        ExpectEvents(runtime, uThis);
        if (pBare == nullptr) {
            runtime.Players().emitBurst(uFirstPlayer, KITE_BRIDGE_CURRENT_TIME, uThis, Sim::Time(s_ullTime));
            runtime.RunMainLoop();
            runtime.Players().drain(uFirstPlayer);
        } else {
            pBare->StartBurst(1, uThis, s_pszText);
            runtime.RunMainLoop();
            pBare->Wait();
        }
    }
}

void RunEventFigures(CBenchRuntime& runtime, CBareEvents& bare, std::size_t uFirstPlayer,
                     const CEventSettings& settings, CFigureTable& table)
{
    std::printf("\nEvent delivery: %d runs of %zu events each way, in pairs with either path first; %zu paced "
                "events per path, one every %u us\n",
                settings.m_iRounds, settings.m_uBurstEvents, settings.m_uPacedEvents, settings.m_uIntervalMicros);
    std::fflush(stdout);

    // Warm-up: the players' threads exist, the functions are compiled and
    // GLib's and malloc's pools have grown, for either number of threads.
    for (int iThreads : {4, 1}) {
        OurThroughput(runtime, uFirstPlayer, iThreads, settings.m_uBurstEvents / 5);
        BareThroughput(runtime, bare, iThreads, settings.m_uBurstEvents / 5);
    }

    std::vector<double> aOurs1, aBare1, aOurs4, aBare4;
    for (int iRound = 0; iRound < settings.m_iRounds; ++iRound) {
        RunInTurn(
            iRound, [&] { aOurs1.push_back(OurThroughput(runtime, uFirstPlayer, 1, settings.m_uBurstEvents)); },
            [&] { aBare1.push_back(BareThroughput(runtime, bare, 1, settings.m_uBurstEvents)); });
        RunInTurn(
            iRound, [&] { aOurs4.push_back(OurThroughput(runtime, uFirstPlayer, 4, settings.m_uBurstEvents)); },
            [&] { aBare4.push_back(BareThroughput(runtime, bare, 4, settings.m_uBurstEvents)); });
        std::printf("  run %d (%s): events/s ours 1 thread %.0f, bare %.0f; ours 4 threads %.0f, bare %.0f\n",
                    iRound + 1, FirstPath(iRound), aOurs1.back(), aBare1.back(), aOurs4.back(), aBare4.back());
        std::fflush(stdout);
    }

    PrintPairSpread("1 thread", aOurs1, aBare1);
    PrintPairSpread("4 threads", aOurs4, aBare4);

    // A stall of the machine lands in some parts and sets their p99: each
    // path's figure is the median of its parts' p99s. Whether the main loop
    // wakes on the queueing thread's core or on another moves an event's
    // latency by more than anything either path does, and it can stay one
    // way for one path through a whole run (once our path's median was 32 us
    // and the bare path's 15): on one core both paths wake it alike.
    std::vector<double> aOurLatency, aBareLatency, aOurP99, aBareP99;
    const int iParts = 20;
    std::size_t uPart = settings.m_uPacedEvents / iParts;
    int iCore;
    {
        COneCoreScope oneCore;
        iCore = oneCore.Core();
        for (int iPart = 0; iPart < iParts; ++iPart) {
            std::vector<double> aOurPart, aBarePart;
            PacedPart(runtime, bare, uFirstPlayer, uPart, settings.m_uIntervalMicros, aOurPart, aBarePart);
            aOurP99.push_back(Percentile(aOurPart, 0.99));
            aBareP99.push_back(Percentile(aBarePart, 0.99));
            aOurLatency.insert(aOurLatency.end(), aOurPart.begin(), aOurPart.end());
            aBareLatency.insert(aBareLatency.end(), aBarePart.begin(), aBarePart.end());
        }
    }
    std::string strCores = iCore >= 0 ? "every thread on core " + std::to_string(iCore) : "threads on any core";
    std::printf("  paced, %s: ours p50 %.1f us p99 %.1f us, bare p50 %.1f us p99 %.1f us (all events of each "
                "path); median of the parts' p99: ours %.1f us, bare %.1f us\n",
                strCores.c_str(),
                Percentile(aOurLatency, 0.5) / 1000, Percentile(aOurLatency, 0.99) / 1000,
                Percentile(aBareLatency, 0.5) / 1000, Percentile(aBareLatency, 0.99) / 1000, Median(aOurP99) / 1000,
                Median(aBareP99) / 1000);

    table.Add({"event delivery, 1 player thread, log off", "events/s", Median(aOurs1), Median(aBare1),
               PairedRatio(aOurs1, aBare1), ETarget::RatioAtLeast, 0.9});
    table.Add({"event delivery, 4 player threads, log off", "events/s", Median(aOurs4), Median(aBare4),
               PairedRatio(aOurs4, aBare4), ETarget::RatioAtLeast, 0.9});
    std::string strPace = " (one per " + std::to_string(settings.m_uIntervalMicros) + " us)";
    table.Add({"paced event latency p50" + strPace, "us", Percentile(aOurLatency, 0.5) / 1000,
               Percentile(aBareLatency, 0.5) / 1000, std::nan(""), ETarget::None, 0});
    table.Add({"paced event latency p99" + strPace, "us", Median(aOurP99) / 1000, Median(aBareP99) / 1000,
               std::nan(""), ETarget::RatioAtMost, 1.2});
    RunThreadCallFigure(runtime, bare, settings, table);
    RunLoggedFigures(runtime, bare, uFirstPlayer, settings, table);
}

}  // namespace TetherBench
