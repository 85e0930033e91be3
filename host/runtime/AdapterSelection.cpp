#include "runtime/AdapterSelection.h"

#include <Bridge/Engine.h>
#include <Cinecast/AdapterBackend.h>
#include <cstdio>
#ifdef KITE_WITH_GSTREAMER
#include <Cinecast/GstAdapter.h>
#endif
#include <Cinecast/ModelAdapter.h>
#include <Cinecast/SimAdapter.h>
#include <Cinecast/SimScriptInterface.h>

#include <cmath>

#include "console/ScriptValues.h"
#include "runtime/Clock.h"
#include "runtime/ScheduledCalls.h"

namespace Kite {

namespace {

// sim.advance(ms)
void Advance(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    double dMs = info[0]->IsNumber() ? info[0].As<v8::Number>()->Value() : -1.0;
    if (!(dMs >= 0.0) || !std::isfinite(dMs)) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "sim.advance: the time must be a finite number of milliseconds, 0 or more");
        return;
    }
    std::string strError;
    if (!CScheduledCalls::Of(pIsolate).Advance(dMs, strError))
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::ERROR, "sim.advance: " + strError);
}

// sim.now()
void Now(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    info.GetReturnValue().Set(static_cast<double>(ClockNowUs()) / 1000.0);
}

struct CAdapterChoice {
    const char* m_pszName;
    void (*m_pSelect)(v8::Local<v8::Context> context);
};

void SelectSimulated(v8::Local<v8::Context> context)
{
    DeviceAPI::Cinecast::SetBackendFactory(DeviceAPI::Cinecast::Sim::CreateBackend);
    DeviceAPI::Cinecast::Sim::InstallScriptInterface(context);
}

#ifdef KITE_WITH_GSTREAMER
void SelectGStreamer(v8::Local<v8::Context>)
{
    DeviceAPI::Cinecast::SetBackendFactory(DeviceAPI::Cinecast::Gst::CreateBackend);
}
#endif

void SelectModel(v8::Local<v8::Context> context)
{
    // The model players' time is the run's: their events fall due on the
    // same time line as the script's timers.
    DeviceAPI::Cinecast::Model::SetClock(&CScheduledCalls::Of(context->GetIsolate()));
    DeviceAPI::Cinecast::SetBackendFactory(DeviceAPI::Cinecast::Model::CreateBackend);
    v8::Local<v8::Object> sim =
        DeviceAPI::Cinecast::Sim::InstallScriptInterface(context, DeviceAPI::Cinecast::Sim::EPlayers::MODEL);
    SetFunction(context, sim, "advance", Advance);
    SetFunction(context, sim, "now", Now);
}

const CAdapterChoice s_aChoices[] = {
    {"sim", SelectSimulated},
    {"model", SelectModel},
#ifdef KITE_WITH_GSTREAMER
    {"gst", SelectGStreamer},
#endif
};

// Collection destroying a reachable-looking player is the engine's rule, but
// a player that stops for no visible reason needs a word. Every destruction
// takes the adapter library's answer, so that only a collection's is told.
void WarnWhenCollectedPlaying(const char* pszClassName, const std::string& strMadeAt, bool bCollected)
{
    if (!DeviceAPI::Cinecast::TakeDestroyedWhilePlaying() || !bCollected)
        return;
    std::fflush(stdout);
    std::string strWhere = strMadeAt.empty() ? std::string() : " made at " + strMadeAt;
    std::fprintf(stderr, "kite: a %s%s was collected while playing; keep a reference to it\n", pszClassName,
                 strWhere.c_str());
    std::fflush(stderr);
}

const CAdapterChoice* Find(const std::string& strName)
{
    for (const CAdapterChoice& choice : s_aChoices) {
        if (strName == choice.m_pszName)
            return &choice;
    }
    return nullptr;
}

}  // namespace

bool IsKnownAdapter(const std::string& strName)
{
    return Find(strName) != nullptr;
}

void SelectAdapter(const std::string& strName, v8::Local<v8::Context> context)
{
    const CAdapterChoice* pChoice = Find(strName);
    if (pChoice != nullptr)
        pChoice->m_pSelect(context);
    Bridge::Engine::SetDestroyedHandler(WarnWhenCollectedPlaying);
}

}  // namespace Kite
