// The methods of "Probe": each reports what the bridge library handed it.
#include <Bridge/ClassBuilder.h>
#include <dlog.h>
#include <glib.h>

#include "Probe.h"

namespace KiteTest {

namespace {

using Bridge::ScriptArray;
using Bridge::ScriptObject;

ScriptObject Undefined()
{
    return ScriptObject(v8::Local<v8::Value>());
}

int IntegerArgument(const ScriptArray& args, int iIndex)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    return args.get(iIndex).getValue()->Int32Value(pIsolate->GetCurrentContext()).FromMaybe(0);
}

// argCount(...): how many arguments the list holds.
ScriptObject ArgCount(CProbe*, const ScriptArray& args) { return ScriptObject(args.Length()); }
// argAt(i, ...): element i of the whole argument list, i included.
ScriptObject ArgAt(CProbe*, const ScriptArray& args) { return args.get(IntegerArgument(args, 0)); }
// empty(): a result holding no handle.
ScriptObject Empty(CProbe*, const ScriptArray&) { return Undefined(); }
// stored(): what was last assigned to onvalue.
ScriptObject Stored(CProbe* pProbe, const ScriptArray&) { return pProbe->m_onValue; }

// record(name, value, ...): a new object with each name given the value
// after it, in order, as a plug-in builds its results.
ScriptObject Record(CProbe*, const ScriptArray& args)
{
    ScriptObject record;
    for (int i = 0; i + 1 < args.Length(); i += 2)
        record.set(args.get(i).asString(), args.get(i + 1));
    return record;
}

// invokeStored(...): calls onvalue now with the arguments.
ScriptObject InvokeStored(CProbe* pProbe, const ScriptArray& args)
{
    ScriptArray copy;
    for (int i = 0; i < args.Length(); ++i)
        copy.set(i, args.get(i));
    return pProbe->m_onValue.invoke(copy);
}

// A call of onvalue, with the text at iTextIndex when there is one, from the
// main loop as a plug-in delivers its events: no context entered.
struct CProbeEvent {
    Bridge::ScriptFunction m_function;
    bool m_bHasText;
    std::string m_strText;
};

gpointer NewEvent(CProbe* pProbe, const ScriptArray& args, int iTextIndex)
{
    bool bHasText = args.Length() > iTextIndex;
    return new CProbeEvent{pProbe->m_onValue, bHasText, bHasText ? args.get(iTextIndex).asString() : ""};
}

gboolean DeliverEvent(gpointer pData)
{
    CProbeEvent* pEvent = static_cast<CProbeEvent*>(pData);
    ScriptArray args;
    if (pEvent->m_bHasText)
        args.set(0, ScriptObject(pEvent->m_strText));
    pEvent->m_function.invoke(args);
    delete pEvent;
    return G_SOURCE_REMOVE;
}

// fireLater([text]): queued at the priority of the plug-in's events.
ScriptObject FireLater(CProbe* pProbe, const ScriptArray& args)
{
    g_idle_add_full(150, DeliverEvent, NewEvent(pProbe, args, 0), nullptr);
    return Undefined();
}

// fireAfter(ms[, text]): an event that arrives long after anything the
// script itself scheduled.
ScriptObject FireAfter(CProbe* pProbe, const ScriptArray& args)
{
    int iDelay = IntegerArgument(args, 0);
    g_timeout_add_full(G_PRIORITY_DEFAULT, iDelay > 0 ? static_cast<guint>(iDelay) : 0, DeliverEvent,
                       NewEvent(pProbe, args, 1), nullptr);
    return Undefined();
}

// log(priority, text[, tag]): one log line; a missing tag is a null tag.
ScriptObject Log(CProbe*, const ScriptArray& args)
{
    std::string strText = args.get(1).asString();
    std::string strTag = args.Length() > 2 ? args.get(2).asString() : std::string();
    __dlog_print(LOG_ID_MAIN, IntegerArgument(args, 0), args.Length() > 2 ? strTag.c_str() : nullptr, "%s",
                 strText.c_str());
    return Undefined();
}

// fail(text): raises the bridge layer's exception.
ScriptObject Fail(CProbe*, const ScriptArray& args)
{
    throw KiteJsRuntimeException(args.get(0).asString().c_str());
}

// The two counters, which count no call of their own.
ScriptObject HandlerCalls(CProbe*, const ScriptArray&) { return ScriptObject(CProbe::s_iHandlerCalls); }
ScriptObject DestroyedCount(CProbe*, const ScriptArray&) { return ScriptObject(CProbe::s_iDestroyed); }

typedef ScriptObject (*ProbeHandler)(CProbe*, const ScriptArray&);

template <ProbeHandler Handler>
ScriptObject Counted(CProbe* pProbe, const ScriptArray& args)
{
    ++CProbe::s_iHandlerCalls;
    return Handler(pProbe, args);
}

}  // namespace

template <>
void CProbeBridge::mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context)
{
    Bridge::ClassBuilder<CProbe>(*this, context)
        .method<Counted<ArgCount>>("argCount")
        .method<Counted<ArgAt>>("argAt")
        .method<Counted<Empty>>("empty")
        .method<Counted<Stored>>("stored")
        .method<Counted<Record>>("record")
        .method<Counted<InvokeStored>>("invokeStored")
        .method<Counted<FireLater>>("fireLater")
        .method<Counted<FireAfter>>("fireAfter")
        .method<Counted<Log>>("log")
        .method<Counted<Fail>>("fail")
        .method<HandlerCalls>("handlerCalls")
        .method<DestroyedCount>("destroyedCount")
        .callback<&CProbe::set_onvalue>("onvalue");
}

}  // namespace KiteTest
