#include "ObjectRegistry.h"

#include <glib.h>
#include <unordered_map>
#include <vector>

#include "Bridge/ScriptBridge.h"

namespace Bridge {

namespace {

struct CTrackedObject {
    v8::Global<v8::Object> m_object;
    ScriptBridge* m_pBridge;
    void* m_pNative;
};

struct CCollected {
    ScriptBridge* m_pBridge;
    void* m_pNative;
};

// Main-loop thread only, like everything that touches script values.
std::unordered_map<void*, CTrackedObject*> s_live;
std::vector<CCollected> s_collected;
bool s_bDrainQueued = false;

gboolean DrainCollected(gpointer)
{
    s_bDrainQueued = false;
    CObjectRegistry::DestroyCollected();
    return G_SOURCE_REMOVE;
}

// Runs inside the collector, where V8 may not be called: the native is
// destroyed later, from the main loop.
void OnCollected(const v8::WeakCallbackInfo<CTrackedObject>& info)
{
    CTrackedObject* pTracked = info.GetParameter();
    pTracked->m_object.Reset();
    s_live.erase(pTracked->m_pNative);
    s_collected.push_back(CCollected{pTracked->m_pBridge, pTracked->m_pNative});
    delete pTracked;
    if (!s_bDrainQueued) {
        s_bDrainQueued = true;
        g_idle_add(DrainCollected, nullptr);
    }
}

}  // namespace

void CObjectRegistry::Track(v8::Isolate* pIsolate, v8::Local<v8::Object> object,
                            ScriptBridge* pBridge, void* pNative)
{
    CTrackedObject* pTracked = new CTrackedObject{v8::Global<v8::Object>(pIsolate, object), pBridge, pNative};
    pTracked->m_object.SetWeak(pTracked, OnCollected, v8::WeakCallbackType::kParameter);
    s_live[pNative] = pTracked;
}

bool CObjectRegistry::Destroy(v8::Isolate* pIsolate, v8::Local<v8::Object> object)
{
    if (object->InternalFieldCount() < 2)
        return false;
    v8::Local<v8::Value> field = object->GetInternalField(0);
    if (!field->IsExternal())
        return false;
    auto it = s_live.find(field.As<v8::External>()->Value());
    if (it == s_live.end() || it->second->m_object.Get(pIsolate) != object)
        return false;
    CTrackedObject* pTracked = it->second;
    s_live.erase(it);
    // The wrapper reads as destroyed before the native goes away.
    object->SetInternalField(0, v8::External::New(pIsolate, nullptr));
    pTracked->m_object.Reset();
    pTracked->m_pBridge->destroyFromScript(pTracked->m_pNative);
    delete pTracked;
    return true;
}

void CObjectRegistry::DestroyCollected()
{
    while (!s_collected.empty()) {
        CCollected collected = s_collected.back();
        s_collected.pop_back();
        collected.m_pBridge->destroyFromScript(collected.m_pNative);
    }
}

bool CObjectRegistry::HasCollected()
{
    return !s_collected.empty();
}

void CObjectRegistry::DestroyAll(v8::Isolate* pIsolate)
{
    DestroyCollected();
    v8::HandleScope scope(pIsolate);
    while (!s_live.empty()) {
        auto it = s_live.begin();
        CTrackedObject* pTracked = it->second;
        s_live.erase(it);
        v8::Local<v8::Object> object = pTracked->m_object.Get(pIsolate);
        object->SetInternalField(0, v8::External::New(pIsolate, nullptr));
        pTracked->m_object.Reset();
        pTracked->m_pBridge->destroyFromScript(pTracked->m_pNative);
        delete pTracked;
    }
}

std::size_t CObjectRegistry::Count()
{
    return s_live.size() + s_collected.size();
}

}  // namespace Bridge
