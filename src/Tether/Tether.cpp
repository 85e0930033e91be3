// The plug-in's entry, its script class "Tether", the routing of the class's
// methods and callback properties to the player agent, and the delivery of
// player events on the main loop.
#include "Tether.h"

#include <utility>

#include <clutter/clutter.h>

#include "CallbackRecord.h"
#include "HandOverAnnotations.h"
#include "LiveAgents.h"
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

#define TETHER_METHOD(name, handler, command, ...) \
    {name, &Router::functionCallRouter<CPlayerAgent, &Tether::Tether::handler, CPlayerAgent>},

// The script class's methods, in installation order.
const CMethodEntry s_aMethods[] = {TETHER_COMMANDS(TETHER_METHOD)};
#undef TETHER_METHOD

struct CPropertyEntry {
    const char* pszName;
    v8::AccessorSetterCallback pSetter;
};

#define TETHER_PROPERTY(property, code, slot, setter, handler) \
    {property, &Router::setJSFunction<CPlayerAgent, &CPlayerAgent::setter, CPlayerAgent>},

// The callback properties, in installation order; they have no getter.
const CPropertyEntry s_aProperties[] = {TETHER_CALLBACKS(TETHER_PROPERTY)};
#undef TETHER_PROPERTY

// Clutter's redraw priority: after high-priority idles, before default ones.
const gint s_iEventPriority = 150;

v8::Local<v8::String> NameOf(v8::Isolate* pIsolate, const char* pszName)
{
    return Bridge::Compat::Checked(v8::String::NewFromUtf8(pIsolate, pszName, Bridge::Compat::kNormalString, -1));
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
    LOG_D("ENTER!!!");
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
    LOG_D("ENTER!!!");
    (void)args;
    return new CPlayerAgent();
}

void Tether::destroyFromScript(void* native)
{
    if (native != nullptr)
        delete static_cast<CPlayerAgent*>(native);
}

// Each handler logs its entry and passes the call to the agent's command of
// the same name. The entry's statement is written where the list is
// expanded, so that the line its frame names holds it.
#define TETHER_DEFINE_HANDLER(name, handler, command, entry)                                    \
    Bridge::ScriptObject Tether::handler(CPlayerAgent* pAgent, const Bridge::ScriptArray& aArgs) \
    {                                                                                          \
        entry;                                                                                 \
        return pAgent->command(aArgs);                                                         \
    }
TETHER_COMMANDS(TETHER_DEFINE_HANDLER, LOG_D("ENTER!!!"))
#undef TETHER_DEFINE_HANDLER

void QueueCallback(Bridge::ScriptFunction* pSlot, unsigned long long ullAgentSerial, std::string strArgument)
{
    CallbackRecord* pRecord = new CallbackRecord{pSlot, std::move(strArgument), ullAgentSerial};
    TETHER_HAND_OVER_QUEUE(
        clutter_threads_add_idle_full(s_iEventPriority, Tether::FireOnCallbacks, pRecord, nullptr));
}

int Tether::FireOnCallbacks(void* data)
{
    LOG_D("ENTER!!!");
    if (data == nullptr) {
        LOG_W("Got the callbackData is NULL");
        return 0;
    }
    TETHER_HAND_OVER_RECEIVE();
    CallbackRecord* callbackData = static_cast<CallbackRecord*>(data);

    // A record that outlived its agent points into freed memory: it is only
    // released.
    if (LiveAgents::IsLive(callbackData->agent_serial) && callbackData->js_callback->isFunction()) {
        LOG_W("Ready to callbackData->js_callback.invoke");
        if (callbackData->argument.empty())
            callbackData->js_callback->invoke(Bridge::ScriptArray());
        else
            callbackData->js_callback->invoke(callbackData->argument);
    }
    delete callbackData;
    LOG_D("LEAVE!!!");
    return 0;
}

}  // namespace Tether
