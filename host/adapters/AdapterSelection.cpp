#include "adapters/AdapterSelection.h"

#include <Bridge/Engine.h>
#include <Cinecast/AdapterBackend.h>
#include <cstdio>
#ifdef KITE_WITH_GSTREAMER
#include <Cinecast/GstAdapter.h>
#endif
#include <Cinecast/ModelAdapter.h>
#include <Cinecast/SimAdapter.h>

#include <cmath>
#include <string>
#include <vector>

#include "adapters/SimGlobal.h"
#include "console/ScriptValues.h"
#include "runtime/KiteRun.h"
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
    info.GetReturnValue().Set(static_cast<double>(CKiteRun::Of(info.GetIsolate()).m_clock.NowUs()) / 1000.0);
}

// Milliseconds as a script shows the number: 1500, 0.25.
std::string MsText(gint64 llUs)
{
    char szText[40];
    std::snprintf(szText, sizeof szText, "%.3f", static_cast<double>(llUs) / 1000.0);
    std::string strText(szText);
    strText.erase(strText.find_last_not_of('0') + 1);
    if (strText.back() == '.')
        strText.pop_back();
    return strText;
}

std::string NumberText(double dValue)
{
    char szText[40];
    std::snprintf(szText, sizeof szText, "%.17g", dValue);
    return szText;
}

// sim.runAll(limit = 100000)
void RunAll(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    // A bound against intervals that are never cleared and media that never
    // end, which keep the clock busy for ever.
    const double DEFAULT_MAX_CALLS = 100000;
    v8::Isolate* pIsolate = info.GetIsolate();
    double dMaxCalls = info[0]->IsUndefined() ? DEFAULT_MAX_CALLS
                       : info[0]->IsNumber()  ? info[0].As<v8::Number>()->Value()
                                              : -1.0;
    if (!(dMaxCalls >= 1.0 && dMaxCalls <= 9007199254740991.0) || std::trunc(dMaxCalls) != dMaxCalls) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "sim.runAll: the limit must be a whole number of calls, 1 or more");
        return;
    }
    CScheduledCalls& calls = CScheduledCalls::Of(pIsolate);
    std::size_t uCalls = 0;
    std::string strError;
    switch (calls.RunAll(static_cast<std::size_t>(dMaxCalls), uCalls, strError)) {
    case CScheduledCalls::EStop::REFUSED:
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::ERROR, "sim.runAll: " + strError);
        return;
    case CScheduledCalls::EStop::LIMIT: {
        const CScheduledCalls::CPending next = calls.Pending().front();
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::ERROR,
                                 "sim.runAll: " + std::to_string(uCalls) + " calls ran and more are scheduled (the next: " +
                                     CScheduledCalls::KindName(next.m_eKind) + " at " + MsText(next.m_llAtUs) +
                                     " ms); an interval that is never cleared, or a player that plays on, keeps the "
                                     "clock going: clear or stop it, or give a larger limit");
        return;
    }
    default:
        info.GetReturnValue().Set(static_cast<double>(uCalls));
    }
}

const char* const UNTIL_FORMS =
    "sim.runUntil: the condition must be a function or { player, state }, the player a Tether object";

// What sim.runUntil waits for: the script's function, or a player's state.
struct CUntil {
    v8::Local<v8::Function> m_function;
    v8::Local<v8::Object> m_player;
    double m_dState = 0;
    // The player's state at the last look.
    double m_dLastState = 0;

    bool Holds(v8::Isolate* pIsolate, bool& bHolds)
    {
        v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
        v8::TryCatch tryCatch(pIsolate);
        v8::Local<v8::Value> result;
        if (!m_function.IsEmpty()) {
            if (!m_function->Call(context, v8::Undefined(pIsolate), 0, nullptr).ToLocal(&result))
                return Rethrow(tryCatch);
            if (result->IsPromise()) {
                Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                         "sim.runUntil: the condition answered a promise; it must answer at once");
                return Rethrow(tryCatch);
            }
            bHolds = result->BooleanValue(pIsolate);
            return true;
        }
        v8::Local<v8::Value> query;
        v8::Local<v8::Value> state;
        if (!m_player->Get(context, Bridge::NewText(pIsolate, "player_get_player_state")).ToLocal(&query))
            return Rethrow(tryCatch);
        if (!query->IsFunction()) {
            Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR, UNTIL_FORMS);
            return Rethrow(tryCatch);
        }
        if (!query.As<v8::Function>()->Call(context, m_player, 0, nullptr).ToLocal(&result))
            return Rethrow(tryCatch);
        m_dLastState = std::nan("");
        if (result->IsObject()) {
            if (!result.As<v8::Object>()->Get(context, Bridge::NewText(pIsolate, "return_data")).ToLocal(&state))
                return Rethrow(tryCatch);
            if (state->IsNumber())
                m_dLastState = state.As<v8::Number>()->Value();
        }
        bHolds = m_dLastState == m_dState;
        return true;
    }

    static bool Rethrow(v8::TryCatch& tryCatch)
    {
        if (tryCatch.HasCaught() && !tryCatch.HasTerminated())
            tryCatch.ReThrow();
        return false;
    }
};

// Reads sim.runUntil's condition: false, with its exception thrown, when it
// is neither form or a getter of it threw.
bool ReadUntil(v8::Isolate* pIsolate, v8::Local<v8::Value> value, CUntil& until)
{
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    if (value->IsFunction()) {
        until.m_function = value.As<v8::Function>();
        return true;
    }
    auto refuse = [pIsolate](const char* pszMessage) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR, pszMessage);
        return false;
    };
    v8::Local<v8::Value> player;
    v8::Local<v8::Value> query;
    v8::Local<v8::Value> state;
    if (!value->IsObject())
        return refuse(UNTIL_FORMS);
    if (!value.As<v8::Object>()->Get(context, Bridge::NewText(pIsolate, "player")).ToLocal(&player))
        return false;
    if (!player->IsObject())
        return refuse(UNTIL_FORMS);
    if (!player.As<v8::Object>()->Get(context, Bridge::NewText(pIsolate, "player_get_player_state")).ToLocal(&query))
        return false;
    if (!query->IsFunction())
        return refuse(UNTIL_FORMS);
    if (!value.As<v8::Object>()->Get(context, Bridge::NewText(pIsolate, "state")).ToLocal(&state))
        return false;
    if (!state->IsNumber() || std::trunc(state.As<v8::Number>()->Value()) != state.As<v8::Number>()->Value())
        return refuse("sim.runUntil: state must be an integer, as player_get_player_state answers it");
    until.m_player = player.As<v8::Object>();
    until.m_dState = state.As<v8::Number>()->Value();
    return true;
}

// sim.runUntil(condition, limit = 60000): the clock's reading where the
// condition held.
void RunUntil(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    const double DEFAULT_LIMIT_MS = 60000;
    v8::Isolate* pIsolate = info.GetIsolate();
    CUntil until;
    if (!ReadUntil(pIsolate, info[0], until))
        return;
    double dMs = info[1]->IsUndefined() ? DEFAULT_LIMIT_MS : info[1]->IsNumber() ? info[1].As<v8::Number>()->Value() : -1.0;
    if (!(dMs >= 0.0) || !std::isfinite(dMs)) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "sim.runUntil: the limit must be a finite number of milliseconds, 0 or more");
        return;
    }
    std::string strError;
    CScheduledCalls::CCondition condition = [&](bool& bHolds) { return until.Holds(pIsolate, bHolds); };
    switch (CScheduledCalls::Of(pIsolate).RunUntil(condition, dMs, strError)) {
    case CScheduledCalls::EStop::REFUSED:
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::ERROR, "sim.runUntil: " + strError);
        return;
    case CScheduledCalls::EStop::CONDITION_THREW:
        return;
    case CScheduledCalls::EStop::LIMIT: {
        const std::string strWhat =
            until.m_function.IsEmpty()
                ? "the player's state was not " + NumberText(until.m_dState) +
                      (std::isnan(until.m_dLastState) ? " (it answers none)"
                                                      : " (it is " + NumberText(until.m_dLastState) + ")")
                : std::string("the condition did not hold");
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::ERROR,
                                 "sim.runUntil: " + strWhat + " within " + MsText(static_cast<gint64>(dMs * 1000)) +
                                     " ms; the clock stands at " + MsText(CKiteRun::Of(pIsolate).m_clock.NowUs()) + " ms");
        return;
    }
    default:
        info.GetReturnValue().Set(static_cast<double>(CKiteRun::Of(pIsolate).m_clock.NowUs()) / 1000.0);
    }
}

// sim.pending(): [{ at, kind, id, every }] in the order they would run.
void Pending(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    const std::vector<CScheduledCalls::CPending> aPending = CScheduledCalls::Of(pIsolate).Pending();
    v8::Local<v8::Array> list = v8::Array::New(pIsolate, static_cast<int>(aPending.size()));
    auto set = [&](v8::Local<v8::Object> entry, const char* pszName, v8::Local<v8::Value> value) {
        entry->Set(context, Bridge::NewText(pIsolate, pszName), value).Check();
    };
    for (std::size_t i = 0; i < aPending.size(); ++i) {
        const CScheduledCalls::CPending& pending = aPending[i];
        v8::Local<v8::Object> entry = v8::Object::New(pIsolate);
        set(entry, "at", v8::Number::New(pIsolate, static_cast<double>(pending.m_llAtUs) / 1000.0));
        set(entry, "kind", Bridge::NewText(pIsolate, CScheduledCalls::KindName(pending.m_eKind)));
        if (pending.m_eKind == CScheduledCalls::EKind::TIMEOUT || pending.m_eKind == CScheduledCalls::EKind::INTERVAL)
            set(entry, "id", v8::Number::New(pIsolate, static_cast<double>(pending.m_ullId)));
        if (pending.m_eKind == CScheduledCalls::EKind::INTERVAL)
            set(entry, "every", v8::Number::New(pIsolate, static_cast<double>(pending.m_llEveryUs) / 1000.0));
        list->Set(context, static_cast<uint32_t>(i), entry).Check();
    }
    info.GetReturnValue().Set(list);
}

struct CAdapterChoice {
    const char* m_pszName;
    void (*m_pSelect)(v8::Local<v8::Context> context);
};

void SelectSimulated(v8::Local<v8::Context> context)
{
    const DeviceAPI::Cinecast::Sim::CPlayers& players = CKiteRun::Of(context->GetIsolate()).m_players;
    DeviceAPI::Cinecast::SetBackendFactory(players.Factory());
    InstallSimGlobal(context, players);
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
    CScheduledCalls& clock = CScheduledCalls::Of(context->GetIsolate());
    CKiteRun& run = CKiteRun::Of(context->GetIsolate());
    DeviceAPI::Cinecast::Model::CMediaCatalogue& media = run.m_modelMedia;
    std::shared_ptr<DeviceAPI::Cinecast::CPlayerRegistry> pRegistry = run.m_players.Registry();
    DeviceAPI::Cinecast::SetBackendFactory([&clock, &media, pRegistry] {
        return DeviceAPI::Cinecast::Model::CreateBackend(clock, media, *pRegistry);
    });
    v8::Local<v8::Object> sim = InstallSimGlobal(context, run.m_players, &media);
    SetFunction(context, sim, "advance", Advance);
    SetFunction(context, sim, "now", Now);
    SetFunction(context, sim, "runAll", RunAll);
    SetFunction(context, sim, "runUntil", RunUntil);
    SetFunction(context, sim, "pending", Pending);
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
    std::string strWhere =
        strMadeAt.empty() ? std::string() : " made at " + CKiteRun::Of(v8::Isolate::GetCurrent()).ShownPath(strMadeAt);
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

void UnselectAdapter()
{
    DeviceAPI::Cinecast::SetBackendFactory(nullptr);
}

}  // namespace Kite
