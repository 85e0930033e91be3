#include "runtime/ScheduledCalls.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "runtime/KiteRun.h"
#include "runtime/PromiseRejections.h"
#include "runtime/UncaughtReport.h"

namespace Kite {

struct CScheduledCalls::CCall {
    CScheduledCalls* m_pOwner = nullptr;
    unsigned long long m_ullId = 0;
    EKind m_eKind = EKind::TIMEOUT;
    gint64 m_llDue = 0;       // timed kinds: on the run's clock, in microseconds
    gint64 m_llInterval = 0;  // intervals: microseconds, at least 1000
    guint m_uSource = 0;      // afterIdle calls: their idle source
    v8::Global<v8::Function> m_function;
    std::vector<v8::Global<v8::Value>> m_aArguments;
    std::function<void()> m_native;
};

// The time line's source on the main loop.
struct CScheduledCalls::CClockSource {
    GSource m_source;
    CScheduledCalls* m_pOwner;
};

namespace {

// A call's key for a debugger's async call stacks (CAsyncTaskListener).
void* TaskOf(unsigned long long ullCallId)
{
    return reinterpret_cast<void*>(static_cast<uintptr_t>(ullCallId << 1));
}

// A chain of afterIdle calls that queue each other could keep a delivery
// going for ever; what is left after this many rounds waits for the loop.
const int MAX_DELIVERY_ROUNDS = 10000;
const gint64 MIN_INTERVAL_US = 1000;
// The clock stops short of where microseconds, and timers due after it,
// overflow.
const gint64 MAX_CLOCK_US = G_MAXINT64 / 2;

}  // namespace

CScheduledCalls::CScheduledCalls(CKiteRun& run) : m_run(run)
{
    m_run.m_pSchedule = this;
}

CScheduledCalls::~CScheduledCalls()
{
    CancelAll();
    m_run.m_pSchedule = nullptr;
}

CScheduledCalls& CScheduledCalls::Of(v8::Isolate* pIsolate)
{
    return *CKiteRun::Of(pIsolate).m_pSchedule;
}

void CScheduledCalls::RunMicrotasks()
{
    if (!m_run.m_bQuitRequested)
        m_run.m_pIsolate->PerformMicrotaskCheckpoint();
}

void CScheduledCalls::Invoke(const CCall& call)
{
    if (m_run.m_bQuitRequested)
        return;
    v8::Isolate* pIsolate = m_run.m_pIsolate;
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    // Locals: clearInterval inside the call may free the call's record.
    v8::Local<v8::Function> function = call.m_function.Get(pIsolate);
    std::vector<v8::Local<v8::Value>> aArguments;
    for (const v8::Global<v8::Value>& argument : call.m_aArguments)
        aArguments.push_back(argument.Get(pIsolate));
    v8::TryCatch tryCatch(pIsolate);
    // Uncaught for a debugger too (see Bridge::Engine::Attach).
    tryCatch.SetVerbose(true);
    // The key, not the record: clearInterval inside the call may free it.
    // A client may start or stop asking for async stacks meanwhile.
    void* pTask = TaskOf(call.m_ullId);
    CAsyncTaskListener* pTasks = m_run.m_pAsyncTasks;
    if (pTasks != nullptr)
        pTasks->TaskStarted(pTask);
    v8::MaybeLocal<v8::Value> result =
        function->Call(context, v8::Undefined(pIsolate), static_cast<int>(aArguments.size()), aArguments.data());
    (void)result;
    if (pTasks != nullptr && pTasks == m_run.m_pAsyncTasks)
        pTasks->TaskFinished(pTask);
    ReportIfCaught(pIsolate, tryCatch);
    ReportUnhandledRejections(pIsolate);
}

void CScheduledCalls::AddToTimeline(CCall& call, gint64 llDue)
{
    call.m_llDue = llDue;
    m_timeline.emplace(CTimelineKey(llDue, m_ullNextOrder++), call.m_ullId);
}

void CScheduledCalls::RemoveFromTimeline(const CCall& call)
{
    for (auto it = m_timeline.lower_bound(CTimelineKey(call.m_llDue, 0));
         it != m_timeline.end() && it->first.first == call.m_llDue; ++it) {
        if (it->second == call.m_ullId) {
            m_timeline.erase(it);
            return;
        }
    }
}

// Out of the table, to the caller.
std::unique_ptr<CScheduledCalls::CCall> CScheduledCalls::Take(CCalls::iterator it)
{
    std::unique_ptr<CCall> pCall = std::move(it->second);
    m_calls.erase(it);
    if (pCall->m_eKind != EKind::PLAYER)
        --m_uScriptCalls;
    return pCall;
}

CScheduledCalls::CCall& CScheduledCalls::NewCall(EKind eKind)
{
    std::unique_ptr<CCall> pCall(new CCall);
    pCall->m_pOwner = this;
    pCall->m_ullId = m_ullNextId++;
    pCall->m_eKind = eKind;
    CCall& call = *pCall;
    m_calls[call.m_ullId] = std::move(pCall);
    if (eKind != EKind::PLAYER)
        ++m_uScriptCalls;
    return call;
}

bool CScheduledCalls::FirstDue(gint64& llDue) const
{
    if (m_timeline.empty())
        return false;
    llDue = m_timeline.begin()->first.first;
    return true;
}

// Runs the first call of the time line, which is due.
void CScheduledCalls::RunFirstTimed()
{
    auto first = m_timeline.begin();
    const unsigned long long ullId = first->second;
    const gint64 llDue = first->first.first;
    m_timeline.erase(first);
    auto it = m_calls.find(ullId);
    if (it == m_calls.end())
        return;
    CCall* pCall = it->second.get();
    if (pCall->m_eKind == EKind::PLAYER) {
        Take(it)->m_native();
        return;
    }
    if (pCall->m_eKind == EKind::TIMEOUT) {
        // Out of the table first, so that clearTimeout of its own id is harmless.
        Invoke(*Take(it));
        return;
    }
    // An interval stays listed while it runs, so that clearInterval inside
    // it ends it.
    Invoke(*pCall);
    if (m_calls.count(ullId) != 0 && !m_run.m_bQuitRequested)
        AddToTimeline(*pCall, std::max(llDue + pCall->m_llInterval, m_run.m_clock.NowUs()));
}

// Dispatches the main context's sources that are ready now at
// AFTER_IDLE_PRIORITY or above: the players' event records and afterIdle
// calls (and anything more urgent), with the microtasks each leaves.
void CScheduledCalls::DeliverQueued()
{
    GMainContext* pContext = g_main_context_default();
    if (!g_main_context_acquire(pContext))
        return;
    std::vector<GPollFD> aFds(8);
    for (int i = 0; i < MAX_DELIVERY_ROUNDS && !m_run.m_bQuitRequested; ++i) {
        gint iPriority = 0;
        if (!g_main_context_prepare(pContext, &iPriority) || iPriority > AFTER_IDLE_PRIORITY)
            break;
        gint iTimeout = 0;
        gint iFds = 0;
        while ((iFds = g_main_context_query(pContext, iPriority, &iTimeout, aFds.data(),
                                            static_cast<gint>(aFds.size()))) > static_cast<gint>(aFds.size()))
            aFds.resize(static_cast<std::size_t>(iFds));
        g_poll(aFds.data(), static_cast<guint>(iFds), 0);
        if (g_main_context_check(pContext, iPriority, aFds.data(), iFds))
            g_main_context_dispatch(pContext);
        RunMicrotasks();
    }
    g_main_context_release(pContext);
}

// The time line's source: ready when its first call is due, and with the
// wall clock it wakes the loop then.
gboolean CScheduledCalls::ClockPrepare(GSource* pSource, gint* piTimeout)
{
    const CScheduledCalls& calls = *reinterpret_cast<CClockSource*>(pSource)->m_pOwner;
    *piTimeout = -1;
    gint64 llDue = 0;
    if (calls.m_pszMover != nullptr || !calls.FirstDue(llDue))
        return FALSE;
    gint64 llNow = calls.m_run.m_clock.NowUs();
    if (llDue <= llNow) {
        *piTimeout = 0;
        return TRUE;
    }
    if (!calls.m_run.m_clock.IsVirtual())
        *piTimeout = static_cast<gint>(std::min<gint64>((llDue - llNow + 999) / 1000, G_MAXINT));
    return FALSE;
}

gboolean CScheduledCalls::ClockCheck(GSource* pSource)
{
    const CScheduledCalls& calls = *reinterpret_cast<CClockSource*>(pSource)->m_pOwner;
    gint64 llDue = 0;
    return calls.m_pszMover == nullptr && calls.FirstDue(llDue) && llDue <= calls.m_run.m_clock.NowUs();
}

// One call at a time, then what it queued: the loop gets its turn between calls.
gboolean CScheduledCalls::ClockDispatch(GSource* pSource, GSourceFunc, gpointer)
{
    CScheduledCalls& calls = *reinterpret_cast<CClockSource*>(pSource)->m_pOwner;
    gint64 llDue = 0;
    if (calls.FirstDue(llDue) && llDue <= calls.m_run.m_clock.NowUs()) {
        calls.RunFirstTimed();
        calls.DeliverQueued();
    }
    return G_SOURCE_CONTINUE;
}

void CScheduledCalls::EnsureClockSource()
{
    static GSourceFuncs s_functions = {ClockPrepare, ClockCheck, ClockDispatch, nullptr, nullptr, nullptr};
    if (m_pClockSource != nullptr)
        return;
    GSource* pSource = g_source_new(&s_functions, sizeof(CClockSource));
    m_pClockSource = reinterpret_cast<CClockSource*>(pSource);
    m_pClockSource->m_pOwner = this;
    g_source_set_priority(pSource, G_PRIORITY_DEFAULT);
    g_source_attach(pSource, nullptr);
}

gboolean CScheduledCalls::RunAfterIdle(gpointer pData)
{
    CCall* pCall = static_cast<CCall*>(pData);
    CScheduledCalls& calls = *pCall->m_pOwner;
    calls.Invoke(*calls.Take(calls.m_calls.find(pCall->m_ullId)));
    return G_SOURCE_REMOVE;
}

unsigned long long CScheduledCalls::AddTimer(v8::Local<v8::Function> function,
                                             const std::vector<v8::Local<v8::Value>>& aArguments, gint64 llDelayUs,
                                             bool bInterval)
{
    v8::Isolate* pIsolate = m_run.m_pIsolate;
    CCall& call = NewCall(bInterval ? EKind::INTERVAL : EKind::TIMEOUT);
    call.m_function.Reset(pIsolate, function);
    for (v8::Local<v8::Value> argument : aArguments)
        call.m_aArguments.emplace_back(pIsolate, argument);
    if (bInterval) {
        // A period of 0 would run for ever without time passing.
        llDelayUs = std::max(llDelayUs, MIN_INTERVAL_US);
        call.m_llInterval = llDelayUs;
    }
    AddToTimeline(call, m_run.m_clock.NowUs() + llDelayUs);
    EnsureClockSource();
    if (m_run.m_pAsyncTasks != nullptr)
        m_run.m_pAsyncTasks->TaskScheduled(TaskOf(call.m_ullId), bInterval ? "setInterval" : "setTimeout", bInterval);
    return call.m_ullId;
}

void CScheduledCalls::ClearTimer(double dId)
{
    if (!(dId >= 1.0 && dId < static_cast<double>(m_ullNextId)) || std::trunc(dId) != dId)
        return;
    auto it = m_calls.find(static_cast<unsigned long long>(dId));
    if (it == m_calls.end() || (it->second->m_eKind != EKind::TIMEOUT && it->second->m_eKind != EKind::INTERVAL))
        return;
    RemoveFromTimeline(*it->second);
    if (m_run.m_pAsyncTasks != nullptr)
        m_run.m_pAsyncTasks->TaskCanceled(TaskOf(it->second->m_ullId));
    Take(it);
}

void CScheduledCalls::AddAfterIdle(v8::Local<v8::Function> function)
{
    CCall& call = NewCall(EKind::AFTER_IDLE);
    call.m_function.Reset(m_run.m_pIsolate, function);
    call.m_uSource = g_idle_add_full(AFTER_IDLE_PRIORITY, RunAfterIdle, &call, nullptr);
    if (m_run.m_pAsyncTasks != nullptr)
        m_run.m_pAsyncTasks->TaskScheduled(TaskOf(call.m_ullId), "kite.afterIdle", false);
}

long long CScheduledCalls::NowUs()
{
    return m_run.m_clock.NowUs();
}

unsigned long long CScheduledCalls::At(long long llDueUs, std::function<void()> fn)
{
    CCall& call = NewCall(EKind::PLAYER);
    call.m_native = std::move(fn);
    AddToTimeline(call, llDueUs);
    EnsureClockSource();
    return call.m_ullId;
}

void CScheduledCalls::Cancel(unsigned long long ullId)
{
    auto it = m_calls.find(ullId);
    if (it == m_calls.end() || it->second->m_eKind != EKind::PLAYER)
        return;
    RemoveFromTimeline(*it->second);
    Take(it);
}

CScheduledCalls::EStop CScheduledCalls::Move(const char* pszMover, gint64 llTargetUs, bool bStayAtLast,
                                              std::size_t uMaxCalls, const CCondition* pCondition,
                                              std::size_t& uCalls, std::string& strError)
{
    uCalls = 0;
    if (!m_run.m_clock.IsVirtual()) {
        strError = "the clock follows the wall clock in this run; kite --clock=virtual moves it by hand";
        return EStop::REFUSED;
    }
    if (m_pszMover != nullptr) {
        strError = std::string("called from a callback that ") + m_pszMover + " runs; the clock is already moving";
        return EStop::REFUSED;
    }
    m_pszMover = pszMover;
    EStop eStop = EStop::DONE;
    RunMicrotasks();
    // As the main loop would: at each moment, what is due first, each with
    // what it queued; then the events and afterIdle calls left; then on to
    // the next moment.
    gint64 llDue = 0;
    // Where the condition holds, or threw, the clock stays.
    auto stopsHere = [&]() {
        bool bHolds = false;
        if (pCondition == nullptr || m_run.m_bQuitRequested)
            return false;
        if (!(*pCondition)(bHolds))
            eStop = EStop::CONDITION_THREW;
        else if (bHolds)
            eStop = EStop::CONDITION_HOLDS;
        return eStop != EStop::DONE;
    };
    while (!m_run.m_bQuitRequested && !stopsHere()) {
        if (FirstDue(llDue) && llDue <= m_run.m_clock.NowUs()) {
            if (uCalls == uMaxCalls) {
                eStop = EStop::LIMIT;
                break;
            }
            RunFirstTimed();
            ++uCalls;
            RunMicrotasks();
            DeliverQueued();
            continue;
        }
        DeliverQueued();
        if (FirstDue(llDue) && llDue <= m_run.m_clock.NowUs())
            continue;
        if (!FirstDue(llDue) || llDue > llTargetUs) {
            if (bStayAtLast)
                break;
            m_run.m_clock.SetVirtualNowUs(llTargetUs);
            if (!stopsHere() && pCondition != nullptr)
                eStop = EStop::LIMIT;
            break;
        }
        if (uCalls == uMaxCalls) {
            eStop = EStop::LIMIT;
            break;
        }
        m_run.m_clock.SetVirtualNowUs(llDue);
    }
    m_pszMover = nullptr;
    return eStop;
}

bool CScheduledCalls::Advance(double dMs, std::string& strError)
{
    // One advance is held to about a thousand years, and the clock stops
    // short of where microseconds, and timers due after it, overflow.
    const double MAX_ADVANCE_US = 3.0e16;
    const gint64 llNow = m_run.m_clock.NowUs();
    const double dStepUs = std::min({dMs * 1000.0, MAX_ADVANCE_US, static_cast<double>(MAX_CLOCK_US - llNow)});
    std::size_t uCalls = 0;
    return Move("sim.advance", llNow + static_cast<gint64>(std::llround(dStepUs)), false, SIZE_MAX, nullptr, uCalls,
                strError) != EStop::REFUSED;
}

CScheduledCalls::EStop CScheduledCalls::RunAll(std::size_t uMaxCalls, std::size_t& uCalls, std::string& strError)
{
    return Move("sim.runAll", MAX_CLOCK_US, true, uMaxCalls, nullptr, uCalls, strError);
}

CScheduledCalls::EStop CScheduledCalls::RunUntil(const CCondition& condition, double dMs, std::string& strError)
{
    const gint64 llNow = m_run.m_clock.NowUs();
    const double dStepUs = std::min(dMs * 1000.0, static_cast<double>(MAX_CLOCK_US - llNow));
    std::size_t uCalls = 0;
    return Move("sim.runUntil", llNow + static_cast<gint64>(std::llround(dStepUs)), false, SIZE_MAX, &condition,
                uCalls, strError);
}

const char* CScheduledCalls::KindName(EKind eKind)
{
    switch (eKind) {
    case EKind::TIMEOUT:
        return "timeout";
    case EKind::INTERVAL:
        return "interval";
    case EKind::PLAYER:
        return "player";
    case EKind::AFTER_IDLE:
        return "afterIdle";
    }
    return "";
}

std::vector<CScheduledCalls::CPending> CScheduledCalls::Pending() const
{
    const gint64 llNow = m_run.m_clock.NowUs();
    std::vector<CPending> aPending;
    auto listTimed = [&](bool bDueNow) {
        for (const auto& entry : m_timeline) {
            if ((entry.first.first <= llNow) != bDueNow)
                continue;
            auto it = m_calls.find(entry.second);
            if (it != m_calls.end())
                aPending.push_back({it->second->m_eKind, entry.first.first, entry.second, it->second->m_llInterval});
        }
    };
    listTimed(true);
    // afterIdle calls in the order they were made, which their ids keep.
    for (const auto& entry : m_calls) {
        if (entry.second->m_eKind == EKind::AFTER_IDLE)
            aPending.push_back({EKind::AFTER_IDLE, llNow, entry.first, 0});
    }
    listTimed(false);
    return aPending;
}

std::size_t CScheduledCalls::PendingScriptCalls() const
{
    return m_uScriptCalls;
}

bool CScheduledCalls::HasWorkDueNow() const
{
    gint64 llDue = 0;
    for (const auto& entry : m_calls) {
        if (entry.second->m_eKind == EKind::AFTER_IDLE)
            return true;
    }
    return FirstDue(llDue) && llDue <= m_run.m_clock.NowUs();
}

void CScheduledCalls::CancelAll()
{
    for (auto& entry : m_calls) {
        if (entry.second->m_eKind == EKind::AFTER_IDLE)
            g_source_remove(entry.second->m_uSource);
    }
    m_calls.clear();
    m_timeline.clear();
    m_uScriptCalls = 0;
    if (m_pClockSource != nullptr) {
        g_source_destroy(&m_pClockSource->m_source);
        g_source_unref(&m_pClockSource->m_source);
        m_pClockSource = nullptr;
    }
}

}  // namespace Kite
