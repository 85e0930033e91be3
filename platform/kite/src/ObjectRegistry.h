// The script objects of bridge classes whose natives are alive in one
// isolate, and the natives whose objects garbage collection has released.
#ifndef BRIDGE_OBJECT_REGISTRY_H
#define BRIDGE_OBJECT_REGISTRY_H

#include <cstddef>
#include <unordered_map>
#include <vector>
#include <v8.h>

namespace Bridge {

class ScriptBridge;
struct CTrackedObject;

class CObjectRegistry {
public:
    // How a class destroys its natives (its destroyFromScript).
    typedef void (*DestroyNative)(ScriptBridge* pBridge, void* pNative);
    typedef void (*Task)();
    typedef void (*TaskPoster)(Task task);

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

    void Track(v8::Isolate* pIsolate, v8::Local<v8::Object> object, DestroyNative destroy,
               ScriptBridge* pBridge, void* pNative);
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

private:
    friend struct CTrackedObject;

    struct CCollected {
        DestroyNative m_destroy;
        ScriptBridge* m_pBridge;
        void* m_pNative;
    };

    CObjectRegistry(const CObjectRegistry&) = delete;
    CObjectRegistry& operator=(const CObjectRegistry&) = delete;

    static void OnCollected(const v8::WeakCallbackInfo<CTrackedObject>& info);
    // Destroys the native of an entry that no call uses and forgets it.
    void Finish(CTrackedObject* pTracked);

    // Script thread only, like everything that touches script values.
    std::unordered_map<void*, CTrackedObject*> m_live;
    std::vector<CCollected> m_aCollected;
    TaskPoster m_post = nullptr;
    Task m_drain = nullptr;
    bool m_bDrainPosted = false;
};

}  // namespace Bridge

#endif
