#include "Tether.h"

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

#define TETHER_PROPERTY(name, setter) \
    { name, &Router::setJSFunction<CPlayerAgent, &CPlayerAgent::setter, CPlayerAgent> }

// The callback properties, in installation order; they have no getter.
const CPropertyEntry s_aProperties[] = {
    TETHER_PROPERTY("onbuffering", set_onbuffering_callback),
    TETHER_PROPERTY("onprepare_complete", set_onprepare_complete_callback),
    TETHER_PROPERTY("onplay_complete", set_onplay_complete_callback),
    TETHER_PROPERTY("onseek_complete", set_onseek_complete_callback),
    TETHER_PROPERTY("oncurrent_time", set_oncurrent_time_callback),
    TETHER_PROPERTY("onerror_event", set_onerror_event_callback),
    TETHER_PROPERTY("onasm_pause", set_onasm_pause_callback),
    TETHER_PROPERTY("onasm_resume", set_onasm_resume_callback),
    TETHER_PROPERTY("onsound_analysis", set_onsound_analysis_callback),
};

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

}  // namespace Tether
