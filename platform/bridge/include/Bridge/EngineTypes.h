// The types that the host hands the bridge library (Bridge/Engine.h) and
// that the library's own per-isolate state keeps, apart from Engine so that
// the state needs nothing of the engine's interface.
#ifndef BRIDGE_ENGINE_TYPES_H
#define BRIDGE_ENGINE_TYPES_H

#include <string>
#include <v8.h>

namespace Bridge {

// Reports an exception that no script caught: the exception and its
// message (the message may be empty).
typedef void (*UncaughtHandler)(v8::Isolate* pIsolate, v8::Local<v8::Value> exception,
                                v8::Local<v8::Message> message);

// Work for the script thread, run with the isolate entered.
typedef void (*Task)();
// Has a task run soon on the script thread, from the host's main loop.
typedef void (*TaskPoster)(Task task);

// A plug-in's event: answers 0 (G_SOURCE_REMOVE) and is called once.
typedef int (*EventCall)(void* pData);
// Has call(pData) run on the script thread from the host's main loop,
// at the priority of the plug-ins' events and in the order posted; any
// thread may post. Bridge::ThreadSafeCall posts its calls so; without a
// poster, none can be made.
typedef void (*EventPoster)(EventCall call, void* pData);

// Told after each native is destroyed: its class's script name, where
// its script object was made ("SCRIPT:LINE:COLUMN", empty when no script
// frame made it) and whether garbage collection released the object.
typedef void (*DestroyedHandler)(const char* pszClassName, const std::string& strMadeAt, bool bCollected);

// A script object of a bridge class whose native is alive, and where
// the script made it ("SCRIPT:LINE:COLUMN", empty when no script frame
// made it).
struct LiveObject {
    v8::Local<v8::Object> m_object;
    const char* m_pszClassName;
    std::string m_strMadeAt;
};

// What a debugger is told of the plug-ins' callbacks (the members of
// Engine::CallbackObserver): a script hands a function to a native, and a
// native's call of such a function begins (true) and ends (false). The
// struct stays Engine's: its name is part of SetCallbackObserver's symbol.
typedef void (*CallbackHanded)(v8::Isolate* pIsolate, v8::Local<v8::Function> function);
typedef void (*CallbackCalling)(v8::Isolate* pIsolate, v8::Local<v8::Function> function, bool bBegins);

}  // namespace Bridge

#endif
