#include "ScheduledCalls.h"

#include <cmath>
#include <glib.h>
#include <limits>
#include <map>
#include <vector>

#include "HostState.h"
#include "PromiseRejections.h"
#include "ScriptValues.h"
#include "UncaughtReport.h"

namespace Kite {

namespace {

struct CScheduledCall {
    unsigned m_uId;
    bool m_bTimer;  // clearTimeout cancels timers only
    gint64 m_llDue;  // timers: monotonic time in microseconds
    guint m_uSource;
    v8::Global<v8::Function> m_function;
    std::vector<v8::Global<v8::Value>> m_aArguments;
};

// Calls not yet run, by the id a script sees (timers) or an internal one.
std::map<unsigned, CScheduledCall*> s_pending;
unsigned s_uNextId = 1;

void FreeCall(gpointer pData)
{
    delete static_cast<CScheduledCall*>(pData);
}

// Runs a call that is no longer in s_pending, so clearTimeout of its own id
// inside the call is harmless.
void Invoke(CScheduledCall* pCall)
{
    CHostState& state = CHostState::Get();
    if (state.m_bQuitRequested)
        return;

    v8::Isolate* pIsolate = state.m_pIsolate;
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    std::vector<v8::Local<v8::Value>> aArguments;
    for (const v8::Global<v8::Value>& argument : pCall->m_aArguments)
        aArguments.push_back(argument.Get(pIsolate));
    v8::TryCatch tryCatch(pIsolate);
    // Uncaught for a debugger too (see Bridge::Engine::Attach).
    tryCatch.SetVerbose(true);
    v8::MaybeLocal<v8::Value> result = pCall->m_function.Get(pIsolate)->Call(
        context, v8::Undefined(pIsolate), static_cast<int>(aArguments.size()), aArguments.data());
    (void)result;
    ReportIfCaught(pIsolate, tryCatch);
    ReportUnhandledRejections(pIsolate);
}

bool DueBefore(const CScheduledCall* pA, const CScheduledCall* pB)
{
    return pA->m_llDue < pB->m_llDue || (pA->m_llDue == pB->m_llDue && pA->m_uId < pB->m_uId);
}

// The pending timer that is due first, or null.
CScheduledCall* FirstDueTimer()
{
    CScheduledCall* pFirst = nullptr;
    for (const auto& entry : s_pending) {
        if (entry.second->m_bTimer && (pFirst == nullptr || DueBefore(entry.second, pFirst)))
            pFirst = entry.second;
    }
    return pFirst;
}

gboolean RunCall(gpointer pData)
{
    CScheduledCall* pCall = static_cast<CScheduledCall*>(pData);
    if (pCall->m_bTimer) {
        // When the loop comes late, GLib dispatches every timer that has
        // become due in the order the timers were added. Scripts expect them
        // by due time, so timers due before this one run first.
        CScheduledCall* pFirst = nullptr;
        while ((pFirst = FirstDueTimer()) != nullptr && DueBefore(pFirst, pCall)) {
            guint uSource = pFirst->m_uSource;
            s_pending.erase(pFirst->m_uId);
            Invoke(pFirst);
            g_source_remove(uSource);
        }
        // An earlier timer may have cleared this one.
        if (s_pending.find(pCall->m_uId) == s_pending.end())
            return G_SOURCE_REMOVE;
    }
    s_pending.erase(pCall->m_uId);
    Invoke(pCall);
    return G_SOURCE_REMOVE;
}

CScheduledCall* NewCall(v8::Isolate* pIsolate, v8::Local<v8::Function> function, bool bTimer)
{
    CScheduledCall* pCall = new CScheduledCall;
    pCall->m_uId = s_uNextId++;
    pCall->m_bTimer = bTimer;
    pCall->m_llDue = 0;
    pCall->m_uSource = 0;
    pCall->m_function.Reset(pIsolate, function);
    return pCall;
}

guint DelayOf(v8::Local<v8::Context> context, v8::Local<v8::Value> value)
{
    double dDelay = value->IsUndefined() ? 0.0 : value->NumberValue(context).FromMaybe(0.0);
    if (!(dDelay > 0.0))  // NaN too
        return 0;
    if (dDelay >= static_cast<double>(std::numeric_limits<guint>::max()))
        return std::numeric_limits<guint>::max();
    return static_cast<guint>(std::ceil(dDelay));
}

void SetTimeout(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsFunction()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "setTimeout: the first argument must be a function");
        return;
    }
    guint uDelay = DelayOf(pIsolate->GetCurrentContext(), info[1]);
    CScheduledCall* pCall = NewCall(pIsolate, info[0].As<v8::Function>(), true);
    for (int i = 2; i < info.Length(); ++i)
        pCall->m_aArguments.emplace_back(pIsolate, info[i]);
    s_pending[pCall->m_uId] = pCall;
    pCall->m_llDue = g_get_monotonic_time() + static_cast<gint64>(uDelay) * 1000;
    pCall->m_uSource = g_timeout_add_full(G_PRIORITY_DEFAULT, uDelay, RunCall, pCall, FreeCall);
    info.GetReturnValue().Set(static_cast<double>(pCall->m_uId));
}

void ClearTimeout(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (!info[0]->IsNumber())
        return;
    double dId = info[0].As<v8::Number>()->Value();
    if (!(dId >= 1.0 && dId <= static_cast<double>(std::numeric_limits<unsigned>::max())))
        return;
    auto it = s_pending.find(static_cast<unsigned>(dId));
    if (it == s_pending.end() || !it->second->m_bTimer || static_cast<double>(it->first) != dId)
        return;
    guint uSource = it->second->m_uSource;
    s_pending.erase(it);
    g_source_remove(uSource);
}

}  // namespace

void InstallTimers(v8::Local<v8::Context> context)
{
    SetFunction(context, context->Global(), "setTimeout", SetTimeout);
    SetFunction(context, context->Global(), "clearTimeout", ClearTimeout);
}

void AfterIdle(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsFunction()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "kite.afterIdle: the argument must be a function");
        return;
    }
    CScheduledCall* pCall = NewCall(pIsolate, info[0].As<v8::Function>(), false);
    s_pending[pCall->m_uId] = pCall;
    pCall->m_uSource = g_idle_add_full(AFTER_IDLE_PRIORITY, RunCall, pCall, FreeCall);
}

std::size_t PendingScheduledCalls()
{
    return s_pending.size();
}

void CancelScheduledCalls()
{
    while (!s_pending.empty()) {
        guint uSource = s_pending.begin()->second->m_uSource;
        s_pending.erase(s_pending.begin());
        g_source_remove(uSource);
    }
}

}  // namespace Kite
