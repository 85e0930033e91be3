// The `sim` global: scripts inspect and drive the simulated adapters.
#include "adapters/SimGlobal.h"

#include <Bridge/KiteException.h>
#include <Bridge/Converter.h>
#include <Bridge/V8Compat.h>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "Cinecast/SimAdapter.h"
#include "adapters/SimArguments.h"

namespace Kite {

using namespace DeviceAPI::Cinecast;

namespace {

typedef v8::FunctionCallbackInfo<v8::Value> CallInfo;

v8::Local<v8::String> text(v8::Isolate* pIsolate, const std::string& strText)
{
    return Bridge::NewText(pIsolate, strText);
}

void count(const CallInfo& info, const Sim::CPlayers& players, CSimArguments&)
{
    info.GetReturnValue().Set(static_cast<double>(players.count()));
}

void alive(const CallInfo& info, const Sim::CPlayers& players, CSimArguments&)
{
    info.GetReturnValue().Set(static_cast<double>(players.alive()));
}

void calls(const CallInfo& info, const Sim::CPlayers& players, CSimArguments& args)
{
    std::vector<std::string> aCalls = players.calls(args.AdapterIndex(0, players));
    v8::Local<v8::Array> array = v8::Array::New(args.Isolate(), static_cast<int>(aCalls.size()));
    for (std::size_t n = 0; n < aCalls.size(); ++n) {
        if (!Bridge::Compat::Set(args.Context(), array, static_cast<uint32_t>(n), text(args.Isolate(), aCalls[n])))
            throw Bridge::ScriptExceptionPending();
    }
    info.GetReturnValue().Set(array);
}

void answer(const CallInfo&, const Sim::CPlayers& players, CSimArguments& args)
{
    std::size_t i = args.AdapterIndex(0, players);
    std::string strName = args.String(1, "the operation name");
    bool bValue = args.Boolean(2, "the answer");
    if (!Sim::isAnswerableOperation(strName))
        args.Fail(Bridge::ScriptError::RANGE_ERROR,
                  strName == "RegisterKiteBridgeCallback"
                      ? "RegisterKiteBridgeCallback is answered by the handler table"
                      : "no adapter operation named '" + strName + "'");
    players.answer(i, strName, bValue);
}

void report(const CallInfo&, const Sim::CPlayers& players, CSimArguments& args)
{
    std::size_t i = args.AdapterIndex(0, players);
    players.report(i, args.Report(1));
}

void emit(const CallInfo& info, const Sim::CPlayers& players, CSimArguments& args)
{
    std::size_t i = args.AdapterIndex(0, players);
    KiteBridgeCallBack eCode = args.EventCode(1);
    Sim::CEventData data = args.EventData(eCode, 2, 3);
    info.GetReturnValue().Set(players.emit(i, eCode, data));
}

void burst(const CallInfo& info, const Sim::CPlayers& players, CSimArguments& args)
{
    std::size_t i = args.AdapterIndex(0, players);
    KiteBridgeCallBack eCode = args.EventCode(1);
    std::uint64_t ullCount = args.Unsigned(args.At(2), SIZE_MAX, "the count");
    Sim::CEventData data = args.EventData(eCode, 3, 4);
    info.GetReturnValue().Set(players.emitBurst(i, eCode, static_cast<std::size_t>(ullCount), data));
}

void drain(const CallInfo&, const Sim::CPlayers& players, CSimArguments& args)
{
    players.drain(args.AdapterIndex(0, players));
}

void failNextAllocation(const CallInfo&, const Sim::CPlayers&, CSimArguments&)
{
    Sim::failNextAllocation();
}

// What each function is given: [its name, the players, the model players' media].
v8::Local<v8::Value> DataAt(const CallInfo& info, std::uint32_t uIndex)
{
    return Bridge::Compat::Checked(
        Bridge::Compat::Get(info.GetIsolate()->GetCurrentContext(), info.Data().As<v8::Object>(), uIndex));
}

const Sim::CPlayers& PlayersOf(const CallInfo& info)
{
    return *static_cast<const Sim::CPlayers*>(DataAt(info, 1).As<v8::External>()->Value());
}

Model::CMediaCatalogue& MediaOf(const CallInfo& info)
{
    return *static_cast<Model::CMediaCatalogue*>(DataAt(info, 2).As<v8::External>()->Value());
}

void media(const CallInfo& info, const Sim::CPlayers&, CSimArguments& args)
{
    std::string strUrl = args.String(0, "the URL");
    MediaOf(info).Describe(strUrl, args.Media(1));
}

void release(const CallInfo& info, const Sim::CPlayers&, CSimArguments& args)
{
    std::string strUrl = args.String(0, "the URL");
    info.GetReturnValue().Set(static_cast<double>(MediaOf(info).Release(strUrl)));
}

// Runs one `sim` function; no C++ exception leaves it.
template <void (*Body)(const CallInfo&, const Sim::CPlayers&, CSimArguments&)>
void guarded(const CallInfo& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    std::string strFunction = "sim." + Bridge::TextOf(pIsolate, DataAt(info, 0).As<v8::String>());
    try {
        CSimArguments args(info, strFunction);
        try {
            Body(info, PlayersOf(info), args);
        } catch (const KiteException&) {
            throw;
        } catch (const Bridge::ScriptExceptionPending&) {
            throw;
        } catch (const std::logic_error& error) {
            // An index or a code the simulated player does not have.
            args.Fail(Bridge::ScriptError::RANGE_ERROR, error.what());
        } catch (const std::exception& error) {
            // A handler that threw while emit waited for it.
            args.Fail(Bridge::ScriptError::ERROR, error.what());
        }
    } catch (...) {
        Bridge::ThrowCaughtInScript(pIsolate);
    }
}

// Which players a function serves.
enum EServes { BOTH, SIMULATED_ONLY, MODEL_ONLY };

struct CFunctionEntry {
    const char* m_szName;
    v8::FunctionCallback m_callback;
    EServes m_eServes;
};

const CFunctionEntry g_aFunctions[] = {
    {"count", guarded<count>, BOTH},
    {"alive", guarded<alive>, BOTH},
    {"calls", guarded<calls>, BOTH},
    {"answer", guarded<answer>, SIMULATED_ONLY},
    {"report", guarded<report>, SIMULATED_ONLY},
    {"emit", guarded<emit>, BOTH},
    {"failNextAllocation", guarded<failNextAllocation>, BOTH},
    {"burst", guarded<burst>, SIMULATED_ONLY},
    {"drain", guarded<drain>, SIMULATED_ONLY},
    {"media", guarded<media>, MODEL_ONLY},
    {"release", guarded<release>, MODEL_ONLY},
};

// Scripts name the event codes rather than number them.
struct CEventName {
    KiteBridgeCallBack m_eCode;
    const char* m_szName;
};

const CEventName g_aEventNames[] = {
    {KITE_BRIDGE_BUFFERING, "BUFFERING"},
    {KITE_BRIDGE_PREPARE_COMPLETE, "PREPARE_COMPLETE"},
    {KITE_BRIDGE_PLAY_COMPLETE, "PLAY_COMPLETE"},
    {KITE_BRIDGE_SEEK_COMPLETE, "SEEK_COMPLETE"},
    {KITE_BRIDGE_CURRENT_TIME, "CURRENT_TIME"},
    {KITE_BRIDGE_ERROR_EVENT, "ERROR_EVENT"},
    {KITE_BRIDGE_ASM_PAUSE, "ASM_PAUSE"},
    {KITE_BRIDGE_ASM_RESUME, "ASM_RESUME"},
    {KITE_BRIDGE_SOUND_ANALYSIS, "SOUND_ANALYSIS"},
};

}  // namespace

v8::Local<v8::Object> InstallSimGlobal(v8::Local<v8::Context> context, const Sim::CPlayers& players,
                                       Model::CMediaCatalogue* pModelMedia)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::EscapableHandleScope scope(pIsolate);
    v8::Local<v8::Object> sim = v8::Object::New(pIsolate);
    const EServes eSkipped = pModelMedia != nullptr ? SIMULATED_ONLY : MODEL_ONLY;
    for (const CFunctionEntry& entry : g_aFunctions) {
        if (entry.m_eServes == eSkipped)
            continue;
        v8::Local<v8::String> name = text(pIsolate, entry.m_szName);
        v8::Local<v8::Array> data = v8::Array::New(pIsolate, 3);
        Bridge::Compat::Set(context, data, 0, name);
        // External takes a pointer to non-const; nothing writes through it.
        Bridge::Compat::Set(context, data, 1, v8::External::New(pIsolate, const_cast<Sim::CPlayers*>(&players)));
        if (pModelMedia != nullptr)
            Bridge::Compat::Set(context, data, 2, v8::External::New(pIsolate, pModelMedia));
        v8::Local<v8::Function> function = Bridge::Compat::Checked(
            Bridge::Compat::GetFunction(context, v8::FunctionTemplate::New(pIsolate, entry.m_callback, data)));
        function->SetName(name);
        Bridge::Compat::Set(context, sim, name, function);
    }
    for (const CEventName& event : g_aEventNames) {
        Bridge::Compat::DefineOwnProperty(context, sim, text(pIsolate, event.m_szName),
                                          v8::Integer::New(pIsolate, event.m_eCode),
                                          static_cast<v8::PropertyAttribute>(v8::ReadOnly | v8::DontDelete));
    }
    Bridge::Compat::Set(context, context->Global(), text(pIsolate, "sim"), sim);
    return scope.Escape(sim);
}

}  // namespace Kite
