// The script objects of bridge classes whose natives are alive, and the
// natives whose objects garbage collection has released.
#ifndef BRIDGE_OBJECT_REGISTRY_H
#define BRIDGE_OBJECT_REGISTRY_H

#include <cstddef>
#include <v8.h>

namespace Bridge {

class ScriptBridge;

class CObjectRegistry {
public:
    static void Track(v8::Isolate* pIsolate, v8::Local<v8::Object> object, ScriptBridge* pBridge,
                      void* pNative);
    static bool Destroy(v8::Isolate* pIsolate, v8::Local<v8::Object> object);
    static void DestroyCollected();
    static bool HasCollected();
    static void DestroyAll(v8::Isolate* pIsolate);
    static std::size_t Count();
};

}  // namespace Bridge

#endif
