// The script class "Clock": a GLib timeout that counts its ticks and calls
// the object's `ontick` function with the count on each, from kite's main
// loop.
//   const clock = new Clock();
//   clock.ontick = (count) => { ... };
//   clock.start({ interval_ms: 100 });   clock.stop();   clock.ticks()
#include <Bridge/ScriptBridge.h>
#include <dlog.h>
#include <glib.h>
#include <utility>
#include <vector>

namespace Example {

class CClock {
public:
    ~CClock() { Stop(); }

    void Start(guint uIntervalMs)
    {
        Stop();
        m_uSource = g_timeout_add(uIntervalMs, &CClock::Tick, this);
    }
    void Stop()
    {
        if (m_uSource != 0)
            g_source_remove(m_uSource);
        m_uSource = 0;
    }
    void set_ontick(const Bridge::ScriptFunction& function) { m_onTick = function; }

    int m_iTicks = 0;

private:
    static gboolean Tick(gpointer pData)
    {
        CClock* pThis = static_cast<CClock*>(pData);
        Bridge::ScriptArray args;
        args.set(0, Bridge::ScriptObject(++pThis->m_iTicks));
        // A callback that destroys its clock (kite.destroy) does so only
        // once the call is over; the destructor then removes this source.
        Bridge::NativeCallScope call(pThis);
        pThis->m_onTick.invoke(std::move(args));
        return G_SOURCE_CONTINUE;
    }

    guint m_uSource = 0;
    Bridge::ScriptFunction m_onTick;
};

}  // namespace Example

// The routers refuse receivers whose native is not a CClock.
BRIDGE_NATIVE_CLASS("Clock", Example::CClock);

namespace Example {

Bridge::ScriptObject Start(CClock* pClock, const Bridge::ScriptArray& aArgs)
{
    double dInterval = 0;
    if (!aArgs.get(0).tryGetNumber("interval_ms", dInterval) || !(dInterval >= 1 && dInterval <= G_MAXINT))
        throw KiteJsRuntimeException("start needs { interval_ms: a number from 1 }");
    pClock->Start(static_cast<guint>(dInterval));
    __dlog_print(LOG_ID_MAIN, DLOG_INFO, "CLOCK", "ticking every %u ms", static_cast<guint>(dInterval));
    return Bridge::ScriptObject::Null();
}

Bridge::ScriptObject Stop(CClock* pClock, const Bridge::ScriptArray&)
{
    pClock->Stop();
    return Bridge::ScriptObject::Null();
}

Bridge::ScriptObject Ticks(CClock* pClock, const Bridge::ScriptArray&)
{
    return Bridge::ScriptObject(pClock->m_iTicks);
}

class CClockBridge : public Bridge::ScriptBridge {
public:
    const char* getScriptClassName() const override { return "Clock"; }

    void mapScriptInterface(ScriptContext& context) override
    {
        v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
        const struct {
            const char* m_pszName;
            v8::FunctionCallback m_pRouter;
        } aMethods[] = {
            {"start", functionCallRouter<CClock, Start, CClock>},
            {"stop", functionCallRouter<CClock, Stop, CClock>},
            {"ticks", functionCallRouter<CClock, Ticks, CClock>},
        };
        for (const auto& method : aMethods)
            context.m_hPrototypeTemplate->Set(Bridge::StringToV8(method.m_pszName),
                                              v8::FunctionTemplate::New(pIsolate, method.m_pRouter));
        context.m_hInstanceTemplate->SetAccessor(Bridge::StringToV8("ontick"), nullptr,
                                                 setJSFunction<CClock, &CClock::set_ontick, CClock>);
    }

    void* constructFromScript(const Bridge::ScriptArray&) override { return new CClock; }
    void destroyFromScript(void* pNative) override { delete static_cast<CClock*>(pNative); }
};

}  // namespace Example

// kite owns the bridges it is handed and deletes them at exit.
extern "C" __attribute__((visibility("default"))) std::vector<Bridge::ScriptBridge*> loadBridges()
{
    return {new Example::CClockBridge};
}
