#include "runtime/ScheduledCalls.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <vector>

#include "console/ScriptValues.h"
#include "runtime/Clock.h"
#include "runtime/KiteRun.h"
#include "runtime/PromiseRejections.h"
#include "runtime/UncaughtReport.h"

namespace Kite {

namespace {

enum EKind { KIND_TIMER, KIND_INTERVAL, KIND_NATIVE, KIND_AFTER_IDLE };

struct CScheduledCall {
    unsigned long long m_ullId = 0;
    EKind m_eKind = KIND_TIMER;
    gint64 m_llDue = 0;       // timed kinds: on the run's clock, in microseconds
    gint64 m_llInterval = 0;  // intervals: microseconds, at least 1000
    CKiteRun* m_pRun = nullptr;  // the script's calls: the run they belong to
    guint m_uSource = 0;      // afterIdle calls: their idle source
    v8::Global<v8::Function> m_function;
    std::vector<v8::Global<v8::Value>> m_aArguments;
    std::function<void()> m_native;
};

// Due time, then the order of scheduling: equal due times run first come, first served.
typedef std::pair<gint64, unsigned long long> CTimelineKey;

// Every pending call by id (the id a script sees for timers and intervals).
std::map<unsigned long long, std::unique_ptr<CScheduledCall>> s_calls;
// The timed ones, by when they fall due.
std::map<CTimelineKey, unsigned long long> s_timeline;
unsigned long long s_ullNextId = 1;
unsigned long long s_ullNextOrder = 1;
std::size_t s_uScriptCalls = 0;
// The time line's source on the main loop, with the run whose calls it makes.
struct CClockSource {
    GSource m_source;
    CKiteRun* m_pRun;
};
CClockSource* s_pClockSource = nullptr;
bool s_bAdvancing = false;

// A chain of afterIdle calls that queue each other could keep a delivery
// going for ever; what is left after this many rounds waits for the loop.
const int MAX_DELIVERY_ROUNDS = 10000;
const gint64 MIN_INTERVAL_US = 1000;

void RunMicrotasks(const CKiteRun& run)
{
    if (!run.m_bQuitRequested)
        run.m_pIsolate->PerformMicrotaskCheckpoint();
}

void Invoke(const CScheduledCall& call)
{
    if (call.m_pRun->m_bQuitRequested)
        return;
    v8::Isolate* pIsolate = call.m_pRun->m_pIsolate;
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
    v8::MaybeLocal<v8::Value> result =
        function->Call(context, v8::Undefined(pIsolate), static_cast<int>(aArguments.size()), aArguments.data());
    (void)result;
    ReportIfCaught(pIsolate, tryCatch);
    ReportUnhandledRejections(pIsolate);
}

void AddToTimeline(CScheduledCall& call, gint64 llDue)
{
    call.m_llDue = llDue;
    s_timeline.emplace(CTimelineKey(llDue, s_ullNextOrder++), call.m_ullId);
}

void RemoveFromTimeline(const CScheduledCall& call)
{
    for (auto it = s_timeline.lower_bound(CTimelineKey(call.m_llDue, 0));
         it != s_timeline.end() && it->first.first == call.m_llDue; ++it) {
        if (it->second == call.m_ullId) {
            s_timeline.erase(it);
            return;
        }
    }
}

bool IsScriptCall(const CScheduledCall& call)
{
    return call.m_eKind != KIND_NATIVE;
}

// Out of the table, to the caller.
std::unique_ptr<CScheduledCall> Take(std::map<unsigned long long, std::unique_ptr<CScheduledCall>>::iterator it)
{
    std::unique_ptr<CScheduledCall> pCall = std::move(it->second);
    s_calls.erase(it);
    if (IsScriptCall(*pCall))
        --s_uScriptCalls;
    return pCall;
}

CScheduledCall& NewCall(EKind eKind)
{
    std::unique_ptr<CScheduledCall> pCall(new CScheduledCall);
    pCall->m_ullId = s_ullNextId++;
    pCall->m_eKind = eKind;
    CScheduledCall& call = *pCall;
    s_calls[call.m_ullId] = std::move(pCall);
    if (IsScriptCall(call))
        ++s_uScriptCalls;
    return call;
}

bool FirstDue(gint64& llDue)
{
    if (s_timeline.empty())
        return false;
    llDue = s_timeline.begin()->first.first;
    return true;
}

// Runs the first call of the time line, which is due.
void RunFirstTimed(const CKiteRun& run)
{
    auto first = s_timeline.begin();
    const unsigned long long ullId = first->second;
    const gint64 llDue = first->first.first;
    s_timeline.erase(first);
    auto it = s_calls.find(ullId);
    if (it == s_calls.end())
        return;
    CScheduledCall* pCall = it->second.get();
    if (pCall->m_eKind == KIND_NATIVE) {
        Take(it)->m_native();
        return;
    }
    if (pCall->m_eKind == KIND_TIMER) {
        // Out of the table first, so that clearTimeout of its own id is harmless.
        Invoke(*Take(it));
        return;
    }
    // An interval stays listed while it runs, so that clearInterval inside
    // it ends it.
    Invoke(*pCall);
    if (s_calls.count(ullId) != 0 && !run.m_bQuitRequested)
        AddToTimeline(*pCall, std::max(llDue + pCall->m_llInterval, ClockNowUs()));
}

// Dispatches the main context's sources that are ready now at
// AFTER_IDLE_PRIORITY or above: the players' event records and afterIdle
// calls (and anything more urgent), with the microtasks each leaves.
void DeliverQueued(const CKiteRun& run)
{
    GMainContext* pContext = g_main_context_default();
    if (!g_main_context_acquire(pContext))
        return;
    std::vector<GPollFD> aFds(8);
    for (int i = 0; i < MAX_DELIVERY_ROUNDS && !run.m_bQuitRequested; ++i) {
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
        RunMicrotasks(run);
    }
    g_main_context_release(pContext);
}

// The time line's source on the main loop: ready when its first call is due,
// and with the wall clock it wakes the loop then.
gboolean ClockPrepare(GSource*, gint* piTimeout)
{
    *piTimeout = -1;
    gint64 llDue = 0;
    if (s_bAdvancing || !FirstDue(llDue))
        return FALSE;
    gint64 llNow = ClockNowUs();
    if (llDue <= llNow) {
        *piTimeout = 0;
        return TRUE;
    }
    if (!IsVirtualTime())
        *piTimeout = static_cast<gint>(std::min<gint64>((llDue - llNow + 999) / 1000, G_MAXINT));
    return FALSE;
}

gboolean ClockCheck(GSource*)
{
    gint64 llDue = 0;
    return !s_bAdvancing && FirstDue(llDue) && llDue <= ClockNowUs();
}

// One call at a time, then what it queued: the loop gets its turn between calls.
gboolean ClockDispatch(GSource* pSource, GSourceFunc, gpointer)
{
    const CKiteRun& run = *reinterpret_cast<CClockSource*>(pSource)->m_pRun;
    gint64 llDue = 0;
    if (FirstDue(llDue) && llDue <= ClockNowUs()) {
        RunFirstTimed(run);
        DeliverQueued(run);
    }
    return G_SOURCE_CONTINUE;
}

GSourceFuncs s_clockFunctions = {ClockPrepare, ClockCheck, ClockDispatch, nullptr, nullptr, nullptr};

void EnsureClockSource(CKiteRun& run)
{
    if (s_pClockSource != nullptr)
        return;
    GSource* pSource = g_source_new(&s_clockFunctions, sizeof(CClockSource));
    s_pClockSource = reinterpret_cast<CClockSource*>(pSource);
    s_pClockSource->m_pRun = &run;
    g_source_set_priority(pSource, G_PRIORITY_DEFAULT);
    g_source_attach(pSource, nullptr);
}

gboolean RunAfterIdle(gpointer pData)
{
    CScheduledCall* pCall = static_cast<CScheduledCall*>(pData);
    Invoke(*Take(s_calls.find(pCall->m_ullId)));
    return G_SOURCE_REMOVE;
}

gint64 DelayUs(v8::Local<v8::Context> context, v8::Local<v8::Value> value)
{
    double dDelay = value->IsUndefined() ? 0.0 : value->NumberValue(context).FromMaybe(0.0);
    if (!(dDelay > 0.0))  // NaN too
        return 0;
    // As before: whole milliseconds, at most what a 32-bit count holds.
    const double dMax = static_cast<double>(std::numeric_limits<guint>::max());
    return static_cast<gint64>(std::ceil(std::min(dDelay, dMax))) * 1000;
}

// setTimeout and setInterval.
void AddTimer(const v8::FunctionCallbackInfo<v8::Value>& info, EKind eKind, const char* pszName)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsFunction()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 std::string(pszName) + ": the first argument must be a function");
        return;
    }
    gint64 llDelay = DelayUs(pIsolate->GetCurrentContext(), info[1]);
    CKiteRun& run = CKiteRun::Of(pIsolate);
    CScheduledCall& call = NewCall(eKind);
    call.m_pRun = &run;
    call.m_function.Reset(pIsolate, info[0].As<v8::Function>());
    for (int i = 2; i < info.Length(); ++i)
        call.m_aArguments.emplace_back(pIsolate, info[i]);
    if (eKind == KIND_INTERVAL) {
        // A period of 0 would run for ever without time passing.
        llDelay = std::max(llDelay, MIN_INTERVAL_US);
        call.m_llInterval = llDelay;
    }
    AddToTimeline(call, ClockNowUs() + llDelay);
    EnsureClockSource(run);
    info.GetReturnValue().Set(static_cast<double>(call.m_ullId));
}

void SetTimeout(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    AddTimer(info, KIND_TIMER, "setTimeout");
}

void SetInterval(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    AddTimer(info, KIND_INTERVAL, "setInterval");
}

// clearTimeout and clearInterval: either ends a timer or an interval; any
// other value is ignored.
void ClearTimer(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (!info[0]->IsNumber())
        return;
    double dId = info[0].As<v8::Number>()->Value();
    if (!(dId >= 1.0 && dId < static_cast<double>(s_ullNextId)) || std::trunc(dId) != dId)
        return;
    auto it = s_calls.find(static_cast<unsigned long long>(dId));
    if (it == s_calls.end() || (it->second->m_eKind != KIND_TIMER && it->second->m_eKind != KIND_INTERVAL))
        return;
    RemoveFromTimeline(*it->second);
    Take(it);
}

// Runs a queued microtask's function, reporting what it throws as uncaught.
void RunQueuedMicrotask(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    v8::TryCatch tryCatch(pIsolate);
    tryCatch.SetVerbose(true);
    v8::MaybeLocal<v8::Value> result =
        info.Data().As<v8::Function>()->Call(pIsolate->GetCurrentContext(), v8::Undefined(pIsolate), 0, nullptr);
    (void)result;
    ReportIfCaught(pIsolate, tryCatch);
}

void QueueMicrotask(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsFunction()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "queueMicrotask: the argument must be a function");
        return;
    }
    v8::Local<v8::Function> task;
    if (v8::Function::New(pIsolate->GetCurrentContext(), RunQueuedMicrotask, info[0]).ToLocal(&task))
        pIsolate->EnqueueMicrotask(task);
}

void PerformanceNow(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    info.GetReturnValue().Set(static_cast<double>(ClockNowUs()) / 1000.0);
}

}  // namespace

void InstallTimers(v8::Local<v8::Context> context)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Object> global = context->Global();
    // The run's time starts now, and its time line is on the loop from now
    // on: the players' timed work needs it before any timer.
    (void)ClockNowUs();
    EnsureClockSource(CKiteRun::Of(pIsolate));
    SetFunction(context, global, "setTimeout", SetTimeout);
    SetFunction(context, global, "clearTimeout", ClearTimer);
    SetFunction(context, global, "setInterval", SetInterval);
    SetFunction(context, global, "clearInterval", ClearTimer);
    SetFunction(context, global, "queueMicrotask", QueueMicrotask);
    v8::Local<v8::Object> performance = v8::Object::New(pIsolate);
    SetFunction(context, performance, "now", PerformanceNow);
    global->Set(context, Bridge::NewText(pIsolate, "performance"), performance).Check();
}

void AfterIdle(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsFunction()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "kite.afterIdle: the argument must be a function");
        return;
    }
    CScheduledCall& call = NewCall(KIND_AFTER_IDLE);
    call.m_pRun = &CKiteRun::Of(pIsolate);
    call.m_function.Reset(pIsolate, info[0].As<v8::Function>());
    call.m_uSource = g_idle_add_full(AFTER_IDLE_PRIORITY, RunAfterIdle, &call, nullptr);
}

unsigned long long ScheduleNative(gint64 llDueUs, std::function<void()> fn)
{
    CScheduledCall& call = NewCall(KIND_NATIVE);
    call.m_native = std::move(fn);
    AddToTimeline(call, llDueUs);
    return call.m_ullId;
}

void CancelNative(unsigned long long ullId)
{
    auto it = s_calls.find(ullId);
    if (it == s_calls.end() || it->second->m_eKind != KIND_NATIVE)
        return;
    RemoveFromTimeline(*it->second);
    Take(it);
}

bool AdvanceClock(CKiteRun& run, double dMs, std::string& strError)
{
    if (!IsVirtualTime()) {
        strError = "the clock follows the wall clock in this run; kite --clock=virtual moves it by hand";
        return false;
    }
    if (s_bAdvancing) {
        strError = "called from a callback that sim.advance runs; the clock is already moving";
        return false;
    }
    // One advance is held to about a thousand years, and the clock stops
    // short of where microseconds, and timers due after it, overflow.
    const double MAX_ADVANCE_US = 3.0e16;
    const gint64 MAX_CLOCK_US = G_MAXINT64 / 2;
    const gint64 llNow = ClockNowUs();
    const double dStepUs = std::min({dMs * 1000.0, MAX_ADVANCE_US, static_cast<double>(MAX_CLOCK_US - llNow)});
    const gint64 llTarget = llNow + static_cast<gint64>(std::llround(dStepUs));
    s_bAdvancing = true;
    RunMicrotasks(run);
    // As the main loop would: at each moment, what is due first, each with
    // what it queued; then the events and afterIdle calls left; then on to
    // the next moment.
    gint64 llDue = 0;
    while (!run.m_bQuitRequested) {
        if (FirstDue(llDue) && llDue <= ClockNowUs()) {
            RunFirstTimed(run);
            RunMicrotasks(run);
            DeliverQueued(run);
            continue;
        }
        DeliverQueued(run);
        if (FirstDue(llDue) && llDue <= ClockNowUs())
            continue;
        if (!FirstDue(llDue) || llDue > llTarget)
            break;
        SetVirtualNowUs(llDue);
    }
    if (!run.m_bQuitRequested)
        SetVirtualNowUs(llTarget);
    s_bAdvancing = false;
    return true;
}

std::size_t PendingScheduledCalls()
{
    return s_uScriptCalls;
}

bool HasWorkDueNow()
{
    gint64 llDue = 0;
    for (const auto& entry : s_calls) {
        if (entry.second->m_eKind == KIND_AFTER_IDLE)
            return true;
    }
    return FirstDue(llDue) && llDue <= ClockNowUs();
}

void CancelScheduledCalls()
{
    for (auto& entry : s_calls) {
        if (entry.second->m_eKind == KIND_AFTER_IDLE)
            g_source_remove(entry.second->m_uSource);
    }
    s_calls.clear();
    s_timeline.clear();
    s_uScriptCalls = 0;
    if (s_pClockSource != nullptr) {
        g_source_destroy(&s_pClockSource->m_source);
        g_source_unref(&s_pClockSource->m_source);
        s_pClockSource = nullptr;
    }
}

}  // namespace Kite
