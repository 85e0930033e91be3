// What the host tells the bridge library about itself, and how it manages the
// native objects behind script objects.
#ifndef BRIDGE_ENGINE_H
#define BRIDGE_ENGINE_H

#include <cstddef>
#include <string>
#include <v8.h>
#include <vector>

#include "Bridge/EngineTypes.h"

namespace Bridge {

class ScriptBridge;

class Engine {
public:
    // Bridge/EngineTypes.h
    typedef Bridge::UncaughtHandler UncaughtHandler;
    typedef Bridge::Task Task;
    typedef Bridge::TaskPoster TaskPoster;
    typedef Bridge::EventCall EventCall;
    typedef Bridge::EventPoster EventPoster;
    typedef Bridge::DestroyedHandler DestroyedHandler;
    typedef Bridge::LiveObject LiveObject;

    // The context in which script values are made and functions are invoked
    // when no context is entered (for example from the main loop), and how
    // the host runs the engine's work later. Without a poster, natives that
    // collections release wait for DestroyCollected or CollectGarbage.
    static void Attach(v8::Isolate* pIsolate, v8::Local<v8::Context> context, TaskPoster post = nullptr);
    // Destroys every native still alive, then forgets the context.
    static void Detach();
    static v8::Local<v8::Context> GetContext(v8::Isolate* pIsolate);

    static void SetEventPoster(EventPoster post);
    // Whether ref'd thread-safe calls that have not finished yet ask the host
    // to keep the run going, whatever else is left.
    static bool HoldsRun();

    static void SetUncaughtHandler(UncaughtHandler handler);
    // Hands a caught exception to the uncaught handler (stderr without one).
    static void ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch);

    static void SetDestroyedHandler(DestroyedHandler handler);

    // Builds the bridge's script class and puts its constructor on the global
    // object of the attached context, then calls contextReady().
    static void InstallClass(ScriptBridge* pBridge);

    // Destroys the native behind a script object now, as garbage collection
    // would: destroyFromScript, then internal field 0 holds null. False when
    // the object has no live native of a bridge class.
    static bool DestroyObject(v8::Local<v8::Object> object);
    // Script objects of bridge classes whose natives are not yet destroyed.
    static std::size_t LiveObjectCount();
    // Whether the object of a native (as its bridge class made it: this, in
    // a method) keeps the host's run going, as it does when made. An object
    // that waits for nothing of its own says false, as Node's unref() does
    // for a handle; the host then ends a run that only such objects are left
    // in, and destroys them as it ends. From the native's constructor, a
    // method or a setter; false for a native that is destroyed or of no
    // bridge class.
    static bool SetKeepsRun(void* pNative, bool bKeeps);
    // LiveObjectCount, less the objects that keep no run: what a host waits
    // for before it ends a run.
    static std::size_t RunKeepingObjectCount();
    // How many script objects of bridge classes the isolate has made so
    // far: a mark for LiveObjectsSince.
    static unsigned long long ObjectsMade();
    // The objects made after the mark whose natives are alive and not
    // pending destruction, oldest first, in the caller's handle scope: what
    // a part of a run (a test) left behind.
    static std::vector<LiveObject> LiveObjectsSince(unsigned long long ullMark);
    // A full collection; unreachable objects' natives are destroyed before
    // it returns.
    static void CollectGarbage(v8::Isolate* pIsolate);
    // Destroys the natives that collections have released since the last
    // call: the task that the engine posts after a collection.
    static void DestroyCollected();
    // True when collections have released natives that DestroyCollected has
    // not destroyed yet.
    static bool HasCollected();

    // What a debugger's async call stacks need of the plug-ins' callbacks:
    // handed is told when a script hands a function to a native (a callback
    // property's setter, a method's argument), while the script's stack is
    // that of the hand-over; calling is told, with true and then false,
    // around each call that a native makes of such a function.
    struct CallbackObserver {
        CallbackHanded m_handed;
        CallbackCalling m_calling;
    };
    // Null (the default) for none: nothing is told then. The attached
    // isolate keeps the two functions, not the observer, which may go once
    // this returns.
    static void SetCallbackObserver(const CallbackObserver* pObserver);
};

}  // namespace Bridge

#endif
