// The test plug-in's classes: "Probe", whose methods report what the bridge
// library handed them, "Foreign", another native class whose objects a
// Probe method must refuse, and "Shelf" (Shelf.cpp), made with the class
// builder's typed members.
#ifndef KITE_TEST_PROBE_H
#define KITE_TEST_PROBE_H

#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <Bridge/ThreadSafeCall.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#define KITE_TEST_EXPORT __attribute__((visibility("default")))

namespace KiteTest {

class KITE_TEST_EXPORT CProbe {
public:
    ~CProbe();

    void set_onvalue(const Bridge::ScriptFunction& function) { m_onValue = function; }
    // Throws what arm() named (ThrowKind).
    void set_onthrow(const Bridge::ScriptFunction& function);

    Bridge::ScriptFunction m_onValue;
    std::string m_strArmed;
    Bridge::ScriptObject m_kept;
    // holdWeak's function.
    Bridge::ScriptFunction m_held;
    // countFromThread's thread and its call of onvalue; the destructor stops
    // the thread's wait and joins it.
    std::thread m_counter;
    Bridge::ThreadSafeCall m_counts;
    std::mutex m_counterLock;
    std::condition_variable m_cvCounterStop;
    bool m_bCounterStop = false;

    // Natives destroyed and handler calls, over the process.
    static int s_iDestroyed;
    static int s_iHandlerCalls;
};

class KITE_TEST_EXPORT CForeign {
public:
    int m_iMarker = 7;
};

// Throws the exception that strKind names: "runtime_error" (what() "disk
// full"), "int" (42), "TypeError" (a ScriptError, "not a store"),
// "KiteJsRuntimeException" ("no agent"); nothing for any other name.
KITE_TEST_EXPORT void ThrowKind(const std::string& strKind);

// The bridge of "Shelf" (Shelf.cpp), whose members are typed.
Bridge::ScriptBridge* NewShelfBridge();

// Bridges of either class destroyed, over the process.
extern KITE_TEST_EXPORT int g_iBridgesDestroyed;

// Every bridge whose class has been installed in a context, in the order of
// their contextReady calls, over the process.
KITE_TEST_EXPORT const std::vector<Bridge::ScriptBridge*>& InstalledBridges();
KITE_TEST_EXPORT void NoteInstalled(Bridge::ScriptBridge* pBridge);

}  // namespace KiteTest

BRIDGE_NATIVE_CLASS("Probe", KiteTest::CProbe);
BRIDGE_NATIVE_CLASS("Foreign", KiteTest::CForeign);

namespace KiteTest {

// The script class of TNative: one native per `new`.
template <class TNative>
class CBridgeOf : public Bridge::ScriptBridge {
public:
    virtual ~CBridgeOf() { ++g_iBridgesDestroyed; }
    virtual const char* getScriptClassName() const
    {
        return Bridge::NativeTypeOf<TNative>::s_type.m_pszScriptClassName;
    }
    virtual void mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context);
    virtual void contextReady() { NoteInstalled(this); }
    // new Class("throw", kind) fails in the native's construction with
    // ThrowKind(kind); new Class("idle") makes a native that keeps no run
    // from its construction on.
    virtual void* constructFromScript(const Bridge::ScriptArray& args)
    {
        if (args.Length() > 1 && args.get(0).asString() == "throw")
            ThrowKind(args.get(1).asString());
        TNative* pNative = new TNative;
        if (args.Length() > 0 && args.get(0).asString() == "idle")
            Bridge::Engine::SetKeepsRun(pNative, false);
        return pNative;
    }
    virtual void destroyFromScript(void* pNative) { delete static_cast<TNative*>(pNative); }
};
template <>
KITE_TEST_EXPORT void CBridgeOf<CProbe>::mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context);
template <>
KITE_TEST_EXPORT void CBridgeOf<CForeign>::mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context);
typedef CBridgeOf<CProbe> CProbeBridge;
typedef CBridgeOf<CForeign> CForeignBridge;

// Every bridge that loadBridges has made, in order.
KITE_TEST_EXPORT const std::vector<Bridge::ScriptBridge*>& MadeBridges();
}  // namespace KiteTest

// Makes one more Probe and one more Foreign bridge and answers every bridge
// made so far, as the TV's plug-ins do; they live as long as the process.
extern "C" KITE_TEST_EXPORT std::vector<Bridge::ScriptBridge*> loadBridges();

#endif
