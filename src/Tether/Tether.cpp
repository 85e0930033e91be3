// The plug-in's entry, its script class "Tether", the routing of the class's
// methods and callback properties to the player agent, and the delivery of
// player events on the main loop.
#include "Tether.h"

#include <utility>

#include <clutter/clutter.h>

#include "CallbackRecord.h"
#include "HandOverAnnotations.h"
#include "LiveAgents.h"
#include "ScriptKinds.h"
#include "TetherLog.h"

// Objects of the script class hold CPlayerAgent natives.
BRIDGE_NATIVE_CLASS("Tether", Tether::CPlayerAgent);

namespace {

std::vector<Bridge::ScriptBridge*>& BridgeList()
{
    static std::vector<Bridge::ScriptBridge*> s_bridges;
    return s_bridges;
}

using Tether::CPlayerAgent;
using Router = Bridge::ScriptBridge;

struct CMethodEntry {
    const char* pszName;
    v8::FunctionCallback pRouter;
};

#define TETHER_METHOD(name, handler) \
    { name, &Router::functionCallRouter<CPlayerAgent, &Tether::Tether::handler, CPlayerAgent> }

// The script class's methods, in installation order.
const CMethodEntry s_aMethods[] = {
    TETHER_METHOD("player_create", HandleCreate),
    TETHER_METHOD("player_set_uri", HandleSetURI),
    TETHER_METHOD("player_prepare", HandlePrepare),
    TETHER_METHOD("player_prepare_async", HandlePrepareAsync),
    TETHER_METHOD("player_set_output_area", HandleSetOutputArea),
    TETHER_METHOD("player_set_streaming_property", HandleSetStreamingProperty),
    TETHER_METHOD("player_pause", HandlePause),
    TETHER_METHOD("player_resume", HandleResume),
    TETHER_METHOD("player_stop", HandleStop),
    TETHER_METHOD("player_play", HandlePlay),
    TETHER_METHOD("player_seek_to", HandleSeekTo),
    TETHER_METHOD("player_skip", HandleSkip),
    TETHER_METHOD("player_get_duration", HandleGetDuration),
    TETHER_METHOD("player_get_current_position", HandleGetCurrentPosition),
    TETHER_METHOD("player_get_player_state", HandleGetPlayerState),
    TETHER_METHOD("player_register_sound_analysis_listener", HandleRegisterSoundAnalysisListener),
    TETHER_METHOD("player_suspend", HandleSuspend),
    TETHER_METHOD("player_restore", HandleRestore),
    TETHER_METHOD("player_close", HandleClose),
    TETHER_METHOD("player_set_party_tv_mode", HandleSetPartyTVMode),
};

struct CPropertyEntry {
    const char* pszName;
    v8::AccessorSetterCallback pSetter;
};

#define TETHER_PROPERTY(property, slot, setter, handler) \
    {property, &Router::setJSFunction<CPlayerAgent, &CPlayerAgent::setter, CPlayerAgent>},

// The callback properties, in installation order; they have no getter.
const CPropertyEntry s_aProperties[] = {TETHER_CALLBACKS(TETHER_PROPERTY)};
#undef TETHER_PROPERTY

// Clutter's redraw priority: after high-priority idles, before default ones.
const gint s_iEventPriority = 150;

v8::Local<v8::String> NameOf(v8::Isolate* pIsolate, const char* pszName)
{
    return v8::String::NewFromUtf8(pIsolate, pszName, v8::NewStringType::kNormal, -1).ToLocalChecked();
}

}  // namespace

std::vector<Bridge::ScriptBridge*> loadBridges()
{
    BridgeList().push_back(new Tether::Tether());
    return BridgeList();
}

namespace Tether {

Tether::Tether() {}

Tether::~Tether() {}

const char* Tether::getScriptClassName() const
{
    return "Tether";
}

void Tether::mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context)
{
    LOG_ENTER();
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    for (const CMethodEntry& method : s_aMethods) {
        v8::Local<v8::FunctionTemplate> function = v8::FunctionTemplate::New(
            pIsolate, method.pRouter, v8::Local<v8::Value>(), v8::Local<v8::Signature>(), 0);
        context.m_hPrototypeTemplate->Set(NameOf(pIsolate, method.pszName), function, v8::None);
    }
    for (const CPropertyEntry& property : s_aProperties) {
        context.m_hInstanceTemplate->SetAccessor(NameOf(pIsolate, property.pszName), nullptr,
                                                 property.pSetter, v8::Local<v8::Value>(),
                                                 v8::DEFAULT, v8::None,
                                                 v8::Local<v8::AccessorSignature>());
    }
}

void* Tether::constructFromScript(const Bridge::ScriptArray& args)
{
    LOG_ENTER();
    (void)args;
    return new CPlayerAgent();
}

void Tether::destroyFromScript(void* native)
{
    if (native != nullptr)
        delete static_cast<CPlayerAgent*>(native);
}

// Each handler passes the call to the agent command of the same name.
#define TETHER_HANDLER(handler, command)                                                    \
    Bridge::ScriptObject Tether::handler(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs) \
    {                                                                                       \
        LOG_ENTER();                                                                        \
        return pAgent->command(aArgs);                                                      \
    }

TETHER_HANDLER(HandleCreate, Create)
TETHER_HANDLER(HandleSetURI, SetURI)
TETHER_HANDLER(HandlePrepare, Prepare)
TETHER_HANDLER(HandlePrepareAsync, PrepareAsync)
TETHER_HANDLER(HandleSetOutputArea, SetOutputArea)
TETHER_HANDLER(HandleSetStreamingProperty, SetStreamingProperty)
TETHER_HANDLER(HandlePause, Pause)
TETHER_HANDLER(HandleResume, Resume)
TETHER_HANDLER(HandleStop, Stop)
TETHER_HANDLER(HandlePlay, Play)
TETHER_HANDLER(HandleSeekTo, SeekTo)
TETHER_HANDLER(HandleSkip, Skip)
TETHER_HANDLER(HandleGetDuration, GetDuration)
TETHER_HANDLER(HandleGetCurrentPosition, GetCurrentPosition)
TETHER_HANDLER(HandleGetPlayerState, GetPlayerState)
TETHER_HANDLER(HandleRegisterSoundAnalysisListener, RegisterSoundAnalysisListener)
TETHER_HANDLER(HandleSuspend, Suspend)
TETHER_HANDLER(HandleRestore, Restore)
TETHER_HANDLER(HandleClose, Close)
TETHER_HANDLER(HandleSetPartyTVMode, SetPartyTVMode)

void QueueCallback(Bridge::ScriptFunction* pSlot, unsigned long long ullAgentSerial, std::string strArgument)
{
    CallbackRecord* pRecord = new CallbackRecord{pSlot, std::move(strArgument), ullAgentSerial};
    TETHER_HAND_OVER_QUEUE(
        clutter_threads_add_idle_full(s_iEventPriority, Tether::FireOnCallbacks, pRecord, nullptr));
}

int Tether::FireOnCallbacks(void* data)
{
    LOG_ENTER();
    if (data == nullptr) {
        LOG_W("Got the callbackData is NULL");
        return 0;
    }
    TETHER_HAND_OVER_RECEIVE();
    CallbackRecord* callbackData = static_cast<CallbackRecord*>(data);

    // A record that outlived its agent points into freed memory: it is only
    // released.
    if (LiveAgents::IsLive(callbackData->agent_serial) && IsScriptFunction(*callbackData->js_callback)) {
        Bridge::ScriptArray args;
        // The record goes next: its text is handed over rather than copied.
        if (!callbackData->argument.empty())
            args.set(0, Bridge::ScriptObject(std::move(callbackData->argument)));
        LOG_W("Ready to callbackData->js_callback.invoke");
        // The list is not used again: handed over rather than copied.
        callbackData->js_callback->invoke(std::move(args));
    }
    delete callbackData;
    LOG_LEAVE();
    return 0;
}

}  // namespace Tether
