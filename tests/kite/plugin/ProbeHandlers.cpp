#include "ProbeHandlers.h"

#include <dlog.h>
#include <glib.h>

namespace KiteTest {

namespace {

using Bridge::ScriptArray;
using Bridge::ScriptObject;

int IntegerArgument(const ScriptArray& args, int iIndex)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    return args.get(iIndex).getValue()->Int32Value(pIsolate->GetCurrentContext()).FromMaybe(0);
}

// argCount(...): how many arguments the list holds.
ScriptObject ArgCount(CProbe*, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    return ScriptObject(args.Length());
}

// argAt(i, ...): element i of the whole argument list, i included.
ScriptObject ArgAt(CProbe*, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    return args.get(IntegerArgument(args, 0));
}

// empty(): a result holding no handle.
ScriptObject Empty(CProbe*, const ScriptArray&)
{
    ++CProbe::s_iHandlerCalls;
    return ScriptObject(v8::Local<v8::Value>());
}

// stored(): what was last assigned to onvalue.
ScriptObject Stored(CProbe* pProbe, const ScriptArray&)
{
    ++CProbe::s_iHandlerCalls;
    return pProbe->m_onValue;
}

// invokeStored(...): calls onvalue now with the arguments.
ScriptObject InvokeStored(CProbe* pProbe, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    ScriptArray copy;
    for (int i = 0; i < args.Length(); ++i)
        copy.set(i, args.get(i));
    return pProbe->m_onValue.invoke(copy);
}

struct CProbeEvent {
    Bridge::ScriptFunction m_function;
    bool m_bHasText;
    std::string m_strText;
};

gboolean DeliverProbeEvent(gpointer pData)
{
    CProbeEvent* pEvent = static_cast<CProbeEvent*>(pData);
    ScriptArray args;
    if (pEvent->m_bHasText)
        args.set(0, ScriptObject(pEvent->m_strText));
    pEvent->m_function.invoke(args);
    delete pEvent;
    return G_SOURCE_REMOVE;
}

// fireLater([text]): queues a call of the current onvalue on the main loop,
// as a plug-in delivers player events (priority 150, no context entered).
ScriptObject FireLater(CProbe* pProbe, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    CProbeEvent* pEvent = new CProbeEvent{pProbe->m_onValue, args.Length() > 0, std::string()};
    if (pEvent->m_bHasText)
        pEvent->m_strText = args.get(0).asString();
    g_idle_add_full(150, DeliverProbeEvent, pEvent, nullptr);
    return ScriptObject(v8::Local<v8::Value>());
}

// fireAfter(ms[, text]): the same call after a delay, as an event that
// arrives long after anything the script itself scheduled.
ScriptObject FireAfter(CProbe* pProbe, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    int iDelay = IntegerArgument(args, 0);
    CProbeEvent* pEvent = new CProbeEvent{pProbe->m_onValue, args.Length() > 1, std::string()};
    if (pEvent->m_bHasText)
        pEvent->m_strText = args.get(1).asString();
    g_timeout_add_full(G_PRIORITY_DEFAULT, iDelay > 0 ? static_cast<guint>(iDelay) : 0, DeliverProbeEvent,
                       pEvent, nullptr);
    return ScriptObject(v8::Local<v8::Value>());
}

// log(priority, text[, tag]): one log line; a missing tag is a null tag.
ScriptObject Log(CProbe*, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    std::string strText = args.get(1).asString();
    bool bHasTag = args.Length() > 2;
    std::string strTag = bHasTag ? args.get(2).asString() : std::string();
    __dlog_print(LOG_ID_MAIN, IntegerArgument(args, 0), bHasTag ? strTag.c_str() : nullptr, "%s",
                 strText.c_str());
    return ScriptObject(v8::Local<v8::Value>());
}

// fail(text): a handler that raises the bridge layer's exception.
ScriptObject Fail(CProbe*, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    std::string strText = args.get(0).asString();
    throw KiteJsRuntimeException(strText.c_str());
}

// readText(obj): reads obj.param_text into the probe, so the probe is used
// after script code (a getter, a proxy trap) ran; answers how many probes
// had been destroyed by then.
ScriptObject ReadText(CProbe* pProbe, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    std::string strText;
    args.get(0).tryGetString("param_text", strText);
    pProbe->m_strText = strText;
    return ScriptObject(CProbe::s_iDestroyed);
}

ScriptObject HandlerCalls(CProbe*, const ScriptArray&) { return ScriptObject(CProbe::s_iHandlerCalls); }
ScriptObject DestroyedCount(CProbe*, const ScriptArray&) { return ScriptObject(CProbe::s_iDestroyed); }

template <ProbeHandler Handler>
CProbeMethod Method(const char* pszName)
{
    return CProbeMethod{pszName, Bridge::ScriptBridge::functionCallRouter<CProbe, Handler, CProbe>};
}

}  // namespace

const std::vector<CProbeMethod>& ProbeMethods()
{
    static const std::vector<CProbeMethod> s_aMethods = {
        Method<ArgCount>("argCount"),
        Method<ArgAt>("argAt"),
        Method<Empty>("empty"),
        Method<Stored>("stored"),
        Method<InvokeStored>("invokeStored"),
        Method<FireLater>("fireLater"),
        Method<FireAfter>("fireAfter"),
        Method<Log>("log"),
        Method<Fail>("fail"),
        Method<ReadText>("readText"),
        Method<HandlerCalls>("handlerCalls"),
        Method<DestroyedCount>("destroyedCount"),
    };
    return s_aMethods;
}

}  // namespace KiteTest
