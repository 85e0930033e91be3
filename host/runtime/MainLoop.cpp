#include "runtime/MainLoop.h"

#include <Bridge/Engine.h>
#include <glib.h>
#include <libplatform/libplatform.h>

#include "runtime/KiteRun.h"
#include "runtime/PromiseRejections.h"
#include "runtime/ScheduledCalls.h"

namespace Kite {

namespace {

const guint HOUSEKEEPING_INTERVAL_MS = 10;
// While only script objects keep the run alive, unreachable ones are
// collected this often so the loop can end.
const gint64 COLLECTION_INTERVAL_US = 200 * 1000;

struct CLoopRun {
    CKiteRun* m_pRun;
    GMainLoop* m_pLoop;
    gint64 m_iLastCollection;
};

// With virtual time, what waits for the clock to move cannot run by itself:
// timers, intervals and players that wait for sim.advance keep no run going.
// A plug-in's thread does not wait for the clock.
bool NothingLeft(const CKiteRun& run, const CScheduledCalls& calls)
{
    if (Bridge::Engine::HoldsRun())
        return false;
    if (run.m_clock.IsVirtual())
        return !calls.HasWorkDueNow();
    return calls.PendingScriptCalls() == 0 && Bridge::Engine::RunKeepingObjectCount() == 0;
}

// Low priority: runs only when no timer, afterIdle call or event is ready.
gboolean Housekeeping(gpointer pData)
{
    CLoopRun* pLoop = static_cast<CLoopRun*>(pData);
    CKiteRun& run = *pLoop->m_pRun;
    v8::Isolate* pIsolate = run.m_pIsolate;
    // What ran here may have queued more: a stall is only told in a round
    // that ran nothing.
    bool bRanSomething = false;
    {
        v8::HandleScope scope(pIsolate);
        for (int i = 0; i < 100 && v8::platform::PumpMessageLoop(run.m_pPlatform, pIsolate); ++i)
            bRanSomething = true;
        // Rejections left by events that the plug-ins delivered.
        ReportUnhandledRejections(pIsolate);
        if (!run.m_bQuitRequested && run.m_pSchedule->PendingScriptCalls() == 0 && Bridge::Engine::LiveObjectCount() > 0) {
            gint64 iNow = g_get_monotonic_time();
            if (iNow - pLoop->m_iLastCollection >= COLLECTION_INTERVAL_US) {
                pLoop->m_iLastCollection = iNow;
                Bridge::Engine::CollectGarbage(pIsolate);
                bRanSomething = true;
            }
        }
    }
    // A test file's run ends when its harness says, whether or not a
    // debugger's client is attached; any other, once nothing is left and no
    // client holds it (which the client's holding then says).
    const bool bNothingLeft = NothingLeft(run, *run.m_pSchedule) && (run.m_bHoldRun || !run.HeldByDebugger());
    if (run.m_bQuitRequested || (bNothingLeft && !run.m_bHoldRun))
        g_main_loop_quit(pLoop->m_pLoop);
    // A plug-in's thread posts its events before it lets go of the run: once
    // it has, they are on the loop's queue.
    else if (bNothingLeft && !bRanSomething && run.m_clock.IsVirtual() && run.m_whenStalled && !g_main_context_pending(nullptr))
        run.m_whenStalled();
    return G_SOURCE_CONTINUE;
}

// The loop's wait, which a CPU profile then shows as "(idle)" rather than
// "(program)". The loop runs with the run's isolate entered.
gint PollMarkingIdle(GPollFD* pFds, guint uCount, gint iTimeout)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    if (iTimeout != 0 && pIsolate != nullptr)
        pIsolate->SetIdle(true);
    gint iReady = g_poll(pFds, uCount, iTimeout);
    if (iTimeout != 0 && pIsolate != nullptr)
        pIsolate->SetIdle(false);
    return iReady;
}

gboolean RunScriptTask(gpointer pTask)
{
    reinterpret_cast<Bridge::Engine::Task>(pTask)();
    return G_SOURCE_REMOVE;
}

}  // namespace

void PostScriptTask(Bridge::Engine::Task task)
{
    g_idle_add(RunScriptTask, reinterpret_cast<gpointer>(task));
}

void PostPluginEvent(Bridge::Engine::EventCall call, void* pData)
{
    g_idle_add_full(AFTER_IDLE_PRIORITY, call, pData, nullptr);
}

void RunMainLoop(CKiteRun& run)
{
    if (run.m_bQuitRequested)
        return;
    CLoopRun loop{&run, g_main_loop_new(nullptr, FALSE), g_get_monotonic_time()};
    run.m_pLoop = loop.m_pLoop;
    guint uHousekeeping =
        g_timeout_add_full(G_PRIORITY_LOW, HOUSEKEEPING_INTERVAL_MS, Housekeeping, &loop, nullptr);
    // Only where a profiler may run: a debugger's client can start one.
    GPollFunc previousPoll = g_main_context_get_poll_func(nullptr);
    if (run.m_pDebugger != nullptr)
        g_main_context_set_poll_func(nullptr, PollMarkingIdle);
    g_main_loop_run(loop.m_pLoop);
    g_main_context_set_poll_func(nullptr, previousPoll);
    g_source_remove(uHousekeeping);
    run.m_pLoop = nullptr;
    g_main_loop_unref(loop.m_pLoop);
}

void DispatchLeftoverSources()
{
    // A source that queues itself again would keep this going: each round
    // dispatches one priority, so a few rounds reach everything queued.
    const int MAX_ROUNDS = 64;
    for (int i = 0; i < MAX_ROUNDS && g_main_context_pending(nullptr); ++i)
        g_main_context_iteration(nullptr, FALSE);
}

}  // namespace Kite
