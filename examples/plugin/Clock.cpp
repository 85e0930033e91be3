// The script class "Clock": a GLib timeout that counts its ticks and calls
// the object's `ontick` function with the count on each, from kite's main
// loop.
//   const clock = new Clock();
//   clock.ontick = (count) => { ... };
//   clock.start({ interval_ms: 100 });   clock.stop();   clock.ticks()
#include <Bridge/ClassBuilder.h>
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
    Bridge::ScriptObject Stop(const Bridge::ScriptArray& = Bridge::ScriptArray())
    {
        if (m_uSource != 0)
            g_source_remove(m_uSource);
        m_uSource = 0;
        return Bridge::ScriptObject::Null();
    }
    Bridge::ScriptObject Ticks(const Bridge::ScriptArray&) { return Bridge::ScriptObject(m_iTicks); }
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

// Script methods: start({ interval_ms }), stop(), ticks().
Bridge::ScriptObject Start(CClock* pClock, const Bridge::ScriptArray& aArgs)
{
    double dInterval = 0;
    if (!aArgs.get(0).tryGetNumber("interval_ms", dInterval) || !(dInterval >= 1 && dInterval <= G_MAXINT))
        throw Bridge::ScriptError(Bridge::ScriptError::RANGE_ERROR, "start needs { interval_ms: a number from 1 }");
    pClock->Start(static_cast<guint>(dInterval));
    __dlog_print(LOG_ID_MAIN, DLOG_INFO, "CLOCK", "ticking every %u ms", static_cast<guint>(dInterval));
    return Bridge::ScriptObject::Null();
}

class CClockBridge : public Bridge::ClassBridge<CClock> {
public:
    CClockBridge() : ClassBridge("Clock") {}

    void mapScriptInterface(ScriptContext& context) override
    {
        Bridge::ClassBuilder<CClock>(*this, context)
            .method<Start>("start")
            .method<&CClock::Stop>("stop")
            .method<&CClock::Ticks>("ticks")
            .callback<&CClock::set_ontick>("ontick");
    }
};

}  // namespace Example

// Bridges live until the process ends; kite deletes none. Every call, in
// every engine of the process, answers the one bridge.
extern "C" __attribute__((visibility("default"))) std::vector<Bridge::ScriptBridge*> loadBridges()
{
    static Example::CClockBridge* s_pBridge = new Example::CClockBridge;
    return {s_pBridge};
}
