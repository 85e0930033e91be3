#include "runtime/PromiseRejections.h"

#include <vector>

#include "runtime/KiteRun.h"
#include "runtime/UncaughtReport.h"

namespace Kite {

namespace {

// V8 passes no data with the message: the run is found from the isolate.
void OnRejection(v8::PromiseRejectMessage message)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    std::vector<CUnhandledRejection>& aUnhandled = CKiteRun::Of(pIsolate).m_aUnhandledRejections;
    v8::Local<v8::Promise> promise = message.GetPromise();
    if (message.GetEvent() == v8::kPromiseRejectWithNoHandler) {
        v8::Local<v8::Value> value = message.GetValue();
        if (value.IsEmpty())
            value = v8::Undefined(pIsolate);
        aUnhandled.push_back(CUnhandledRejection{v8::Global<v8::Promise>(pIsolate, promise),
                                                 v8::Global<v8::Value>(pIsolate, value)});
    } else if (message.GetEvent() == v8::kPromiseHandlerAddedAfterReject) {
        for (auto it = aUnhandled.begin(); it != aUnhandled.end(); ++it) {
            if (it->m_promise == promise) {
                aUnhandled.erase(it);
                break;
            }
        }
    }
}

}  // namespace

void TrackPromiseRejections(v8::Isolate* pIsolate)
{
    pIsolate->SetPromiseRejectCallback(OnRejection);
}

void ReportUnhandledRejections(v8::Isolate* pIsolate)
{
    std::vector<CUnhandledRejection>& aTracked = CKiteRun::Of(pIsolate).m_aUnhandledRejections;
    if (aTracked.empty())
        return;
    std::vector<CUnhandledRejection> aUnhandled;
    aUnhandled.swap(aTracked);
    v8::HandleScope scope(pIsolate);
    for (CUnhandledRejection& rejection : aUnhandled)
        ReportUncaughtValue(pIsolate, "Uncaught (in promise) ", rejection.m_value.Get(pIsolate));
}

}  // namespace Kite
