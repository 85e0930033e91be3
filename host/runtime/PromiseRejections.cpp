#include "runtime/PromiseRejections.h"

#include <vector>

#include "runtime/UncaughtReport.h"

namespace Kite {

namespace {

struct CRejection {
    v8::Global<v8::Promise> m_promise;
    v8::Global<v8::Value> m_value;
};

std::vector<CRejection> s_aUnhandled;

void OnRejection(v8::PromiseRejectMessage message)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::Local<v8::Promise> promise = message.GetPromise();
    if (message.GetEvent() == v8::kPromiseRejectWithNoHandler) {
        v8::Local<v8::Value> value = message.GetValue();
        if (value.IsEmpty())
            value = v8::Undefined(pIsolate);
        s_aUnhandled.push_back(CRejection{v8::Global<v8::Promise>(pIsolate, promise),
                                          v8::Global<v8::Value>(pIsolate, value)});
    } else if (message.GetEvent() == v8::kPromiseHandlerAddedAfterReject) {
        for (auto it = s_aUnhandled.begin(); it != s_aUnhandled.end(); ++it) {
            if (it->m_promise == promise) {
                s_aUnhandled.erase(it);
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
    if (s_aUnhandled.empty())
        return;
    std::vector<CRejection> aUnhandled;
    aUnhandled.swap(s_aUnhandled);
    v8::HandleScope scope(pIsolate);
    for (CRejection& rejection : aUnhandled)
        ReportUncaughtValue(pIsolate, "Uncaught (in promise) ", rejection.m_value.Get(pIsolate));
}

void ForgetPromiseRejections()
{
    s_aUnhandled.clear();
}

}  // namespace Kite
