// The script objects of bridge classes whose natives are alive, and the
// natives whose objects garbage collection has released.
#ifndef BRIDGE_OBJECT_REGISTRY_H
#define BRIDGE_OBJECT_REGISTRY_H

#include <cstddef>
#include <string>
#include <v8.h>

#include "Bridge/Engine.h"

namespace Bridge {

class ScriptBridge;

class CObjectRegistry {
public:
    static void Track(v8::Isolate* pIsolate, v8::Local<v8::Object> object, ScriptBridge* pBridge,
                      void* pNative, const std::string& strMadeAt);
    static void SetDestroyedHandler(Engine::DestroyedHandler handler);
    // The object reads as destroyed at once; its native is destroyed now,
    // or, while calls are using it, when the last of them ends.
    static bool Destroy(v8::Isolate* pIsolate, v8::Local<v8::Object> object);
    // A call of a method or setter of the native begins and ends; the token
    // (null for a native the registry does not know) goes to EndCall.
    static void* BeginCall(void* pNative);
    static void EndCall(void* pToken);
    static void DestroyCollected();
    static bool HasCollected();
    static void DestroyAll(v8::Isolate* pIsolate);
    static std::size_t Count();
};

}  // namespace Bridge

#endif
