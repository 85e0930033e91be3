// The script class "Clock": a thread of its own that ticks, and the object's
// `ontick` function called with the count of ticks on each, from kite's main
// loop.
//   const clock = new Clock();
//   clock.ontick = (count) => { ... };
//   clock.start({ interval_ms: 100 });   clock.stop();   clock.ticks()
// A ticking clock holds its object, as a timer holds its function, so that
// it ticks on when nothing else reaches it; a stopped one lets it go, and
// keeps no run going even while a script reaches it.
#include <Bridge/ClassBuilder.h>
#include <Bridge/Engine.h>
#include <Bridge/ThreadSafeCall.h>
#include <dlog.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace Example {

class CClock {
public:
    // At most one tick waits for the main loop; one due meanwhile is skipped.
    // A clock that does not tick waits for nothing: it keeps no run going.
    CClock() : m_ticks(this, Bridge::ScriptFunction(), 1)
    {
        m_ticks.unref();
        Bridge::Engine::SetKeepsRun(this, false);
    }
    ~CClock() { Stop(); }

    void Start(unsigned uIntervalMs)
    {
        Stop();
        m_bTicking = true;
        m_bStopping = false;
        m_ticks.ref();
        m_thread = std::thread(&CClock::Run, this, std::chrono::milliseconds(uIntervalMs));
    }
    Bridge::ScriptObject Stop(const Bridge::ScriptArray& = Bridge::ScriptArray())
    {
        {
            std::lock_guard<std::mutex> lock(m_lock);
            m_bStopping = true;
        }
        m_cvStop.notify_one();
        if (m_thread.joinable())
            m_thread.join();
        m_bTicking = false;
        m_ticks.unref();
        return Bridge::ScriptObject::Null();
    }
    Bridge::ScriptObject Ticks(const Bridge::ScriptArray&) { return Bridge::ScriptObject(m_iTicks); }
    void set_ontick(const Bridge::ScriptFunction& function) { m_onTick = function; }

private:
    // The clock's thread: no script value is touched here.
    void Run(std::chrono::milliseconds interval)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        std::chrono::steady_clock::time_point next = std::chrono::steady_clock::now() + interval;
        while (!m_cvStop.wait_until(lock, next, [this] { return m_bStopping; })) {
            next += interval;
            m_ticks.tryPost([this](const Bridge::ScriptFunction&) { Tick(); });
        }
    }
    // On the main loop. A tick queued before stop() is not counted.
    void Tick()
    {
        if (!m_bTicking)
            return;
        Bridge::ScriptArray args;
        args.set(0, Bridge::ScriptObject(++m_iTicks));
        m_onTick.invoke(std::move(args));
    }

    Bridge::ThreadSafeCall m_ticks;
    Bridge::ScriptFunction m_onTick;
    int m_iTicks = 0;
    bool m_bTicking = false;  // main loop only

    std::mutex m_lock;
    std::condition_variable m_cvStop;
    bool m_bStopping = false;
    std::thread m_thread;
};

}  // namespace Example

// The routers refuse receivers whose native is not a CClock.
BRIDGE_NATIVE_CLASS("Clock", Example::CClock);

namespace Example {

// Script methods: start({ interval_ms }), stop(), ticks().
Bridge::ScriptObject Start(CClock* pClock, const Bridge::ScriptArray& aArgs)
{
    double dInterval = 0;
    if (!aArgs.get(0).tryGetNumber("interval_ms", dInterval) || !(dInterval >= 1 && dInterval <= 2147483647))
        throw Bridge::ScriptError(Bridge::ScriptError::RANGE_ERROR, "start needs { interval_ms: a number from 1 }");
    pClock->Start(static_cast<unsigned>(dInterval));
    __dlog_print(LOG_ID_MAIN, DLOG_INFO, "CLOCK", "ticking every %u ms", static_cast<unsigned>(dInterval));
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
