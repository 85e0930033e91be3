#include "globals/Timers.h"

#include <cmath>
#include <limits>
#include <vector>

#include "console/ScriptValues.h"
#include "runtime/KiteRun.h"
#include "runtime/ScheduledCalls.h"
#include "runtime/UncaughtReport.h"

namespace Kite {

namespace {

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
void AddTimer(const v8::FunctionCallbackInfo<v8::Value>& info, bool bInterval, const char* pszName)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsFunction()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 std::string(pszName) + ": the first argument must be a function");
        return;
    }
    gint64 llDelay = DelayUs(pIsolate->GetCurrentContext(), info[1]);
    std::vector<v8::Local<v8::Value>> aArguments;
    for (int i = 2; i < info.Length(); ++i)
        aArguments.push_back(info[i]);
    unsigned long long ullId =
        CScheduledCalls::Of(pIsolate).AddTimer(info[0].As<v8::Function>(), aArguments, llDelay, bInterval);
    info.GetReturnValue().Set(static_cast<double>(ullId));
}

void SetTimeout(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    AddTimer(info, false, "setTimeout");
}

void SetInterval(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    AddTimer(info, true, "setInterval");
}

// clearTimeout and clearInterval: either ends a timer or an interval; any
// other value is ignored.
void ClearTimer(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (info[0]->IsNumber())
        CScheduledCalls::Of(info.GetIsolate()).ClearTimer(info[0].As<v8::Number>()->Value());
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
    info.GetReturnValue().Set(static_cast<double>(CKiteRun::Of(info.GetIsolate()).m_clock.NowUs()) / 1000.0);
}

}  // namespace

void InstallTimers(v8::Local<v8::Context> context)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Object> global = context->Global();
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
    CScheduledCalls::Of(pIsolate).AddAfterIdle(info[0].As<v8::Function>());
}

}  // namespace Kite
