// What the bridge library keeps for one isolate: the context that values use
// outside callbacks, property names, the live objects of bridge classes and
// the classes themselves. The host's attach makes it and its detach deletes
// it, so an isolate that follows another starts clean.
#ifndef BRIDGE_ISOLATE_DATA_H
#define BRIDGE_ISOLATE_DATA_H

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>
#include <v8.h>

#include "ObjectRegistry.h"

namespace Bridge {

class ScriptBridge;

// A bridge class as one isolate knows it. Its address is the class's type
// tag, which internal field 1 of each of its objects holds.
struct CClassRecord {
    ScriptBridge* m_pBridge;
    v8::Global<v8::FunctionTemplate> m_constructorTemplate;
    // The native type declared for the class's name, once a router asked
    // for it; null until then.
    const void* m_pNativeType = nullptr;
};

class IsolateData {
public:
    typedef void (*UncaughtHandler)(v8::Isolate* pIsolate, v8::Local<v8::Value> exception,
                                    v8::Local<v8::Message> message);

    // Null for an isolate that is not attached.
    static IsolateData* From(v8::Isolate* pIsolate)
    {
        return static_cast<IsolateData*>(pIsolate->GetData(Slot()));
    }
    // Replaces whatever the isolate had.
    static void Create(v8::Isolate* pIsolate, v8::Local<v8::Context> context);
    static void Delete(v8::Isolate* pIsolate);

    v8::Local<v8::Context> context(v8::Isolate* pIsolate) const { return m_context.Get(pIsolate); }

    // Hands a caught exception to the isolate's uncaught handler; without
    // one (or without data) it goes to stderr.
    static void ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch);

    // The bridge's class in this isolate, registered on first use: its
    // address is the tag of the class's objects.
    CClassRecord* registerClass(ScriptBridge* pBridge);
    // The class whose tag this is; null for anything else.
    CClassRecord* classOfTag(const void* pTag) const;
    const std::vector<std::unique_ptr<CClassRecord>>& classes() const { return m_aClasses; }

    // Property names, made once per isolate (ScriptKeys).
    std::unordered_map<std::string, v8::Eternal<v8::String>> m_keys;
    CObjectRegistry m_objects;
    UncaughtHandler m_uncaughtHandler = nullptr;

private:
    static uint32_t Slot() { return v8::Isolate::GetNumberOfDataSlots() - 1; }

    v8::Global<v8::Context> m_context;
    std::vector<std::unique_ptr<CClassRecord>> m_aClasses;
};

}  // namespace Bridge

#endif
