// The methods of "Probe": each reports what the bridge library handed it.
#include <Bridge/ClassBuilder.h>
#include <Bridge/Converter.h>
#include <Bridge/Engine.h>
#include <algorithm>
#include <cstdint>
#include <dlog.h>
#include <glib.h>

#include <chrono>

#include "Probe.h"

namespace KiteTest {

void ThrowKind(const std::string& strKind)
{
    if (strKind == "runtime_error")
        throw std::runtime_error("disk full");
    if (strKind == "int")
        throw 42;
    if (strKind == "TypeError")
        throw Bridge::ScriptError(Bridge::ScriptError::TYPE_ERROR, "not a store");
    if (strKind == "KiteJsRuntimeException")
        throw KiteJsRuntimeException("no agent");
}

void CProbe::set_onthrow(const Bridge::ScriptFunction&)
{
    ThrowKind(m_strArmed);
}

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
    return Bridge::Compat::Int32Value(pIsolate->GetCurrentContext(), args.get(iIndex).getValue());
}

// argCount(...): how many arguments the list holds.
ScriptObject ArgCount(CProbe*, const ScriptArray& args) { return ScriptObject(args.Length()); }
// argAt(i, ...): element i of the whole argument list, i included.
ScriptObject ArgAt(CProbe*, const ScriptArray& args) { return args.get(IntegerArgument(args, 0)); }
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

// countFromThread(n, ref[, ms]): a thread of the Probe's posts "1" to "n"
// to onvalue through a thread-safe call, then releases it; with ref false
// the call is unref'd first. With ms, the thread first waits that long, or
// until the Probe is destroyed.
ScriptObject CountFromThread(CProbe* pProbe, const ScriptArray& args)
{
    if (pProbe->m_counter.joinable())
        throw KiteJsRuntimeException("countFromThread runs once per Probe");
    int iCount = IntegerArgument(args, 0);
    std::chrono::milliseconds wait(IntegerArgument(args, 2));
    pProbe->m_counts = Bridge::ThreadSafeCall(pProbe, pProbe->m_onValue);
    if (!args.get(1).getValue()->IsTrue())
        pProbe->m_counts.unref();
    pProbe->m_counter = std::thread([pProbe, iCount, wait, call = pProbe->m_counts]() mutable {
        {
            std::unique_lock<std::mutex> lock(pProbe->m_counterLock);
            pProbe->m_cvCounterStop.wait_for(lock, wait, [pProbe] { return pProbe->m_bCounterStop; });
        }
        for (int i = 1; i <= iCount; ++i)
            call.post(std::to_string(i));
        call.release();
    });
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

// throwAs(kind): ThrowKind(kind); arm(kind): what onthrow's setter and the
// armed getter throw.
ScriptObject ThrowAs(CProbe*, const ScriptArray& args)
{
    ThrowKind(args.get(0).asString());
    return Undefined();
}
ScriptObject Arm(CProbe* pProbe, const ScriptArray& args)
{
    pProbe->m_strArmed = args.get(0).asString();
    return Undefined();
}

// armed: a getter written by hand, as a plug-in writes one the builder
// does not make: the native through extract, inside GuardNative. Null for
// a receiver of another class; otherwise throws what arm() named, or
// answers it.
void ArmedGetter(v8::Local<v8::String>, const v8::PropertyCallbackInfo<v8::Value>& info)
{
    Bridge::GuardNative(
        info.GetIsolate(),
        [&info] {
            CProbe* pProbe = Bridge::ScriptBridge::extract<CProbe, CProbe>(info.This());
            if (pProbe == nullptr) {
                info.GetReturnValue().SetNull();
                return;
            }
            ThrowKind(pProbe->m_strArmed);
            info.GetReturnValue().Set(Bridge::NewText(info.GetIsolate(), pProbe->m_strArmed));
        },
        "Probe.armed");
}

// textOf(value): the value's text, to C++ and back.
ScriptObject TextOf(CProbe*, const ScriptArray& args) { return ScriptObject(args.get(0).asString()); }
// longText(count, piece[, prefix]): a native text of the prefix and count
// pieces.
ScriptObject LongText(CProbe*, const ScriptArray& args)
{
    double dCount = 0;
    Bridge::Converter<double>::From(v8::Isolate::GetCurrent(), args.get(0).getValue(), dCount);
    const std::size_t uCount = static_cast<std::size_t>(dCount);
    const std::string strPiece = args.get(1).asString();
    std::string strText = args.Length() > 2 ? args.get(2).asString() : std::string();
    const std::size_t uPrefix = strText.size();
    strText.reserve(uPrefix + uCount * strPiece.size());
    if (uCount > 0)
        strText += strPiece;
    // Doubling what is there: copies of megabytes, not millions of appends.
    while (strText.size() - uPrefix < uCount * strPiece.size())
        strText.append(strText, uPrefix,
                       std::min(strText.size() - uPrefix, uCount * strPiece.size() - (strText.size() - uPrefix)));
    return ScriptObject(std::move(strText));
}
// stringLimit(): the most characters a script string holds.
ScriptObject StringLimit(CProbe*, const ScriptArray&) { return ScriptObject(Bridge::Compat::kMaxStringLength); }
// values(): one of each value the SDK makes from C++, in a list.
ScriptObject Values(CProbe*, const ScriptArray&)
{
    ScriptArray inner;
    inner.set(1, ScriptObject::Boolean(false));
    ScriptObject record;
    record.set("list", inner);
    ScriptArray values;
    const ScriptObject aValues[] = {ScriptObject::Boolean(true),  ScriptObject::Number(3.7),
                                    ScriptObject::Integer((std::int64_t(1) << 53) - 1),
                                    ScriptObject::Integer(-(std::int64_t(1) << 53) + 1),
                                    ScriptObject(true),           ScriptObject(3.7),
                                    inner,                        record};
    for (int i = 0; i < static_cast<int>(sizeof aValues / sizeof aValues[0]); ++i)
        values.set(i, aValues[i]);
    return values;
}
// keep(...): holds its arguments as a value beyond the call; kept()
// answers it.
ScriptObject Keep(CProbe* pProbe, const ScriptArray& args)
{
    pProbe->m_kept = args;
    return Undefined();
}
ScriptObject Kept(CProbe* pProbe, const ScriptArray&) { return pProbe->m_kept; }
// holdWeak(fn[, strong]): holds a weak copy of fn, or a strong copy of the
// weak one; held() answers whether a function is still held.
ScriptObject HoldWeak(CProbe* pProbe, const ScriptArray& args)
{
    Bridge::ScriptFunction weak = args.get(0).asFunction().weak();
    pProbe->m_held = args.Length() > 1 ? weak.strong() : weak;
    return ScriptObject::Boolean(pProbe->m_held.isWeak());
}
ScriptObject Held(CProbe* pProbe, const ScriptArray&)
{
    return ScriptObject::Boolean(!pProbe->m_held.isEmpty());
}
// keepRun(bool): Engine::SetKeepsRun of this Probe.
ScriptObject KeepRun(CProbe* pProbe, const ScriptArray& args)
{
    bool bKeeps = true;
    Bridge::Converter<bool>::From(v8::Isolate::GetCurrent(), args.get(0).getValue(), bKeeps);
    return ScriptObject::Boolean(Bridge::Engine::SetKeepsRun(pProbe, bKeeps));
}
// int64(value): whether Converter<int64_t> takes the value, and what it
// reads as a decimal text.
ScriptObject Int64(CProbe*, const ScriptArray& args)
{
    std::int64_t llValue = 0;
    if (!Bridge::Converter<std::int64_t>::From(v8::Isolate::GetCurrent(), args.get(0).getValue(), llValue))
        return ScriptObject::Boolean(false);
    return ScriptObject(std::to_string(llValue));
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
        .method<Counted<Stored>>("stored")
        .method<Counted<Record>>("record")
        .method<Counted<InvokeStored>>("invokeStored")
        .method<Counted<FireLater>>("fireLater")
        .method<Counted<FireAfter>>("fireAfter")
        .method<Counted<Log>>("log")
        .method<Counted<CountFromThread>>("countFromThread")
        .method<HandlerCalls>("handlerCalls")
        .method<DestroyedCount>("destroyedCount")
        .method<ThrowAs>("throwAs")
        .method<Arm>("arm")
        .method<TextOf>("textOf")
        .method<LongText>("longText")
        .method<StringLimit>("stringLimit")
        .method<Values>("values")
        .method<Keep>("keep")
        .method<Kept>("kept")
        .method<HoldWeak>("holdWeak")
        .method<Held>("held")
        .method<KeepRun>("keepRun")
        .method<Int64>("int64")
        .callback<&CProbe::set_onvalue>("onvalue")
        .callback<&CProbe::set_onthrow>("onthrow");
    context.m_hInstanceTemplate->SetAccessor(Bridge::NewText(v8::Isolate::GetCurrent(), "armed"), ArmedGetter);
}

}  // namespace KiteTest
