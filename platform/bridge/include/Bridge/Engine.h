// What the host tells the bridge library about itself, and how it manages the
// native objects behind script objects.
#ifndef BRIDGE_ENGINE_H
#define BRIDGE_ENGINE_H

#include <cstddef>
#include <string>
#include <v8.h>
#include <vector>

namespace Bridge {

class ScriptBridge;

class Engine {
public:
    // Reports an exception that no script caught: the exception and its
    // message (the message may be empty).
    typedef void (*UncaughtHandler)(v8::Isolate* pIsolate, v8::Local<v8::Value> exception,
                                    v8::Local<v8::Message> message);

    // Work for the script thread, run with the isolate entered.
    typedef void (*Task)();
    // Has a task run soon on the script thread, from the host's main loop.
    typedef void (*TaskPoster)(Task task);

    // The context in which script values are made and functions are invoked
    // when no context is entered (for example from the main loop), and how
    // the host runs the engine's work later. Without a poster, natives that
    // collections release wait for DestroyCollected or CollectGarbage.
    static void Attach(v8::Isolate* pIsolate, v8::Local<v8::Context> context, TaskPoster post = nullptr);
    // Destroys every native still alive, then forgets the context.
    static void Detach();
    static v8::Local<v8::Context> GetContext(v8::Isolate* pIsolate);

    // A plug-in's event: answers 0 (G_SOURCE_REMOVE) and is called once.
    typedef int (*EventCall)(void* pData);
    // Has call(pData) run on the script thread from the host's main loop,
    // at the priority of the plug-ins' events and in the order posted; any
    // thread may post. Bridge::ThreadSafeCall posts its calls so; without a
    // poster, none can be made.
    typedef void (*EventPoster)(EventCall call, void* pData);
    static void SetEventPoster(EventPoster post);
    // Whether ref'd thread-safe calls that have not finished yet ask the host
    // to keep the run going, whatever else is left.
    static bool HoldsRun();

    static void SetUncaughtHandler(UncaughtHandler handler);
    // Hands a caught exception to the uncaught handler (stderr without one).
    static void ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch);

    // Told after each native is destroyed: its class's script name, where
    // its script object was made ("SCRIPT:LINE:COLUMN", empty when no script
    // frame made it) and whether garbage collection released the object.
    typedef void (*DestroyedHandler)(const char* pszClassName, const std::string& strMadeAt, bool bCollected);
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
    // A script object of a bridge class whose native is alive, and where
    // the script made it ("SCRIPT:LINE:COLUMN", empty when no script frame
    // made it).
    struct LiveObject {
        v8::Local<v8::Object> m_object;
        const char* m_pszClassName;
        std::string m_strMadeAt;
    };
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
        void (*m_handed)(v8::Isolate* pIsolate, v8::Local<v8::Function> function);
        void (*m_calling)(v8::Isolate* pIsolate, v8::Local<v8::Function> function, bool bBegins);
    };
    // Null (the default) for none: nothing is told then. The observer must
    // outlive the attached isolate's data or be replaced first.
    static void SetCallbackObserver(const CallbackObserver* pObserver);
};

}  // namespace Bridge

#endif
