// What the bridge library keeps for one isolate: the context that values use
// outside callbacks, property names, the live objects of bridge classes and
// the classes themselves. The host's attach makes it and its detach deletes
// it, so an isolate that follows another starts clean.
#ifndef BRIDGE_ISOLATE_DATA_H
#define BRIDGE_ISOLATE_DATA_H

#include <cstddef>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>
#include <v8.h>

#include "Bridge/EngineTypes.h"
#include "Bridge/V8Compat.h"

namespace Bridge {

class ScriptBridge;

struct CTrackedObject;
struct CThreadCallState;

// The thread-safe calls of one isolate that have not finished: what closes
// them when their owners go, and whether they hold the run. Script thread
// only. Its code is in ThreadSafeCall.cpp.
class CThreadCalls {
public:
    CThreadCalls() = default;
    // The isolate goes: every call closes as if its owner went.
    ~CThreadCalls();

    void SetPoster(EventPoster post) { m_post = post; }
    EventPoster Poster() const { return m_post; }

    void Add(std::shared_ptr<CThreadCallState> pState) { m_aCalls.push_back(std::move(pState)); }
    // The call has finished; it no longer holds anything.
    void Remove(const CThreadCallState* pState);
    // Before the native is destroyed: its calls close, their queued posts
    // are dropped, and posts waiting for room return.
    void OwnerGone(void* pNative);
    // The native's script object has just been made: calls that its
    // constructor made and that are ref'd hold the object now.
    void OwnerTracked(v8::Isolate* pIsolate, void* pNative, v8::Local<v8::Object> object);
    bool HoldsRun() const;

private:
    CThreadCalls(const CThreadCalls&) = delete;
    CThreadCalls& operator=(const CThreadCalls&) = delete;

    std::vector<std::shared_ptr<CThreadCallState>> m_aCalls;
    EventPoster m_post = nullptr;
};

// The script objects of bridge classes whose natives are alive in one
// isolate, and the natives whose objects garbage collection has released.
// Its code is in ObjectRegistry.cpp.
class CObjectRegistry {
public:
    // How a class destroys its natives (its destroyFromScript).
    typedef void (*DestroyNative)(ScriptBridge* pBridge, void* pNative);

    CObjectRegistry() = default;
    // Natives still in a running call are destroyed when the call ends.
    ~CObjectRegistry();

    // After a collection releases natives, post has drain (which calls
    // DestroyCollected) run on the script thread, once until it runs.
    void SetDrain(TaskPoster post, Task drain)
    {
        m_post = post;
        m_drain = drain;
    }

    void SetDestroyedHandler(DestroyedHandler handler) { m_destroyed = handler; }
    // Told of each native's object as it is tracked, and of each native just
    // before it is destroyed.
    void SetThreadCalls(CThreadCalls* pCalls) { m_pThreadCalls = pCalls; }

    // strMadeAt: where the script made the object, for the destroyed
    // handler; pszClassName lives as long as the class.
    void Track(v8::Isolate* pIsolate, v8::Local<v8::Object> object, DestroyNative destroy,
               ScriptBridge* pBridge, void* pNative, const char* pszClassName, std::string strMadeAt);
    // The object reads as destroyed at once; its native is destroyed now,
    // or, while calls are using it, when the last of them ends.
    bool Destroy(v8::Isolate* pIsolate, v8::Local<v8::Object> object);
    // A call of a method or setter of the native begins and ends; the token
    // (null for a native the registry does not know) goes to EndCall.
    void* BeginCall(void* pNative);
    static void EndCall(void* pToken);
    void DestroyCollected();
    bool HasCollected() const { return !m_aCollected.empty(); }
    void DestroyAll(v8::Isolate* pIsolate);
    std::size_t Count() const { return m_live.size() + m_aCollected.size(); }
    // Whether the live native's object keeps the host's run going; false
    // for a native the registry does not know. While a constructor runs,
    // the native it makes (not tracked yet) is told too.
    bool SetKeepsRun(void* pNative, bool bKeeps);
    // A script constructor begins and ends; what SetKeepsRun was told of
    // natives not tracked yet holds until the outermost one ends.
    void BeginConstruct() { ++m_iConstructing; }
    void EndConstruct()
    {
        if (--m_iConstructing == 0)
            m_aBornIdle.clear();
    }
    // Count, less the live objects whose natives said they keep no run.
    std::size_t KeepingRunCount() const { return Count() - m_uIdle; }
    // The script object of a live native that no destruction is pending
    // for; empty for any other.
    v8::Local<v8::Object> ObjectOf(v8::Isolate* pIsolate, void* pNative) const;
    // How many objects have been tracked so far: the mark of LiveSince.
    unsigned long long TrackedSoFar() const { return m_ullTracked; }
    // The live objects tracked after the mark and not pending destruction,
    // oldest first.
    std::vector<LiveObject> LiveSince(v8::Isolate* pIsolate, unsigned long long ullMark) const;

private:
    friend struct CTrackedObject;

    // A native and what destroying it takes and tells.
    struct CNative {
        DestroyNative m_destroy;
        ScriptBridge* m_pBridge;
        void* m_pNative;
        const char* m_pszClassName;
        std::string m_strMadeAt;
    };

    CObjectRegistry(const CObjectRegistry&) = delete;
    CObjectRegistry& operator=(const CObjectRegistry&) = delete;

    static void OnCollected(CTrackedObject* pTracked);
    // An entry is about to go: it is no longer the last one called.
    void Forget(CTrackedObject* pTracked);
    // Destroys the native of an entry that no call uses and forgets it.
    void Finish(CTrackedObject* pTracked);
    // Destroys the native, then tells the destroyed handler.
    void DestroyNow(const CNative& native, bool bCollected) const;

    // Script thread only, like everything that touches script values.
    std::unordered_map<void*, CTrackedObject*> m_live;
    std::vector<CNative> m_aCollected;
    // The entry of the last BeginCall: calls come in runs on one object,
    // and a hash lookup costs a good part of a call.
    CTrackedObject* m_pLastCalled = nullptr;
    TaskPoster m_post = nullptr;
    Task m_drain = nullptr;
    bool m_bDrainPosted = false;
    DestroyedHandler m_destroyed = nullptr;
    CThreadCalls* m_pThreadCalls = nullptr;
    // Entries of m_live that keep no run.
    std::size_t m_uIdle = 0;
    int m_iConstructing = 0;
    // Natives that said in their constructor that they keep no run.
    std::vector<void*> m_aBornIdle;
    unsigned long long m_ullTracked = 0;
};

// A property name as an internalized script string in the caller's handle
// scope; the empty string when V8 cannot make it (too long), as StringToV8
// answers. Its code is in ScriptKeys.cpp.
//
// Building a name from its text on every property access costs more than
// the access itself: the text is decoded into a new string, which V8 then
// looks up in its string table. Names are kept as v8::Eternal handles in the
// isolate's data, so a new isolate starts with none; an isolate that is not
// attached makes them on every use.
v8::Local<v8::String> KeyToV8(v8::Isolate* pIsolate, const std::string& strName);

// A new object of the context with these own data properties, defined as
// an object literal defines them, by a maker compiled once per sequence of
// names and kept beside the names. Empty when the stack is exhausted or the
// script is terminating. Its code is in ScriptKeys.cpp.
v8::Local<v8::Object> NewObjectWith(v8::Isolate* pIsolate, v8::Local<v8::Context> context, const std::string* aNames,
                                    v8::Local<v8::Value>* aValues, int iCount);

struct CObjectMaker {
    std::vector<std::string> m_aNames;
    Compat::Global<v8::Function> m_function;
};

// A bridge class as one isolate knows it. Its address is the class's type
// tag, which internal field 1 of each of its objects holds.
struct CClassRecord {
    ScriptBridge* m_pBridge;
    Compat::Global<v8::FunctionTemplate> m_constructorTemplate;
    // The native type of the class's objects, once its builder or a router
    // of the type declared for the class's name tied it; null until then.
    const void* m_pNativeType = nullptr;

    // A class holds one native type: true when it holds this one.
    bool tieNativeType(const void* pNativeType)
    {
        if (m_pNativeType == nullptr)
            m_pNativeType = pNativeType;
        return m_pNativeType == pNativeType;
    }
};

class IsolateData {
public:
    // Null for an isolate that is not attached.
    static IsolateData* From(v8::Isolate* pIsolate)
    {
        return static_cast<IsolateData*>(pIsolate->GetData(Slot()));
    }
    // Replaces whatever the isolate had.
    static void Create(v8::Isolate* pIsolate, v8::Local<v8::Context> context);
    static void Delete(v8::Isolate* pIsolate);

    v8::Local<v8::Context> context(v8::Isolate* pIsolate) const { return m_context.Get(pIsolate); }

    // The bridge's class in this isolate, registered on first use: its
    // address is the tag of the class's objects.
    CClassRecord* registerClass(ScriptBridge* pBridge);
    // The class whose tag this is; null for anything else.
    CClassRecord* classOfTag(const void* pTag) const;

    // Property names (KeyToV8).
    std::unordered_map<std::string, v8::Eternal<v8::String>> m_keys;
    // Object makers (NewObjectWith) by sequence of names, few enough to
    // search in turn, and the context they make objects in.
    std::deque<CObjectMaker> m_aMakers;
    Compat::Global<v8::Context> m_makerContext;
    // The block of the last new object made (ScriptObject.cpp), and its
    // deleter: results are made one after another, and the next one then
    // costs no allocation.
    std::unique_ptr<void, void (*)(void*)> m_pSpareBlock{nullptr, nullptr};
    // Before m_objects, which tells it of natives, so that it goes after.
    CThreadCalls m_threadCalls;
    CObjectRegistry m_objects;
    UncaughtHandler m_uncaughtHandler = nullptr;
    // Engine::SetCallbackObserver's, both null for none.
    CallbackHanded m_callbackHanded = nullptr;
    CallbackCalling m_callbackCalling = nullptr;

private:
    // The isolate's data slots belong to its embedders: kite keeps its run
    // in slot 0, and Node.js, where it hosts the engine, its own in the last.
    static uint32_t Slot() { return 1; }

    Compat::Global<v8::Context> m_context;
    std::vector<std::unique_ptr<CClassRecord>> m_aClasses;
};

// Enters the isolate's attached context for the scope when the thread has
// none entered, so script values can be made from the main loop as well as
// from callbacks.
class CScriptContextScope {
public:
    // The caller must hold a handle scope.
    explicit CScriptContextScope(v8::Isolate* pIsolate);
    v8::Local<v8::Context> context() const { return m_context; }
    bool valid() const { return !m_context.IsEmpty(); }

private:
    v8::Local<v8::Context> m_context;
    std::optional<v8::Context::Scope> m_scope;
};

}  // namespace Bridge

#endif
