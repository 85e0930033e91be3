#include "ObjectRegistry.h"

#include <algorithm>
#include <glib.h>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Bridge/ScriptBridge.h"

namespace Bridge {

namespace {

struct CTrackedObject {
    v8::Global<v8::Object> m_object;  // empty once a destruction is pending
    ScriptBridge* m_pBridge;
    void* m_pNative;
    std::string m_strMadeAt;
    // Methods and setters of the native that have not returned yet.
    int m_iCallsRunning = 0;
    bool m_bDestroyPending = false;
};

struct CCollected {
    ScriptBridge* m_pBridge;
    void* m_pNative;
    std::string m_strMadeAt;
};

// Main-loop thread only, like everything that touches script values.
std::unordered_map<void*, CTrackedObject*> s_live;
std::vector<CCollected> s_collected;
bool s_bDrainQueued = false;
Engine::DestroyedHandler s_destroyedHandler = nullptr;

void DestroyNative(ScriptBridge* pBridge, void* pNative, const std::string& strMadeAt, bool bCollected)
{
    pBridge->destroyFromScript(pNative);
    if (s_destroyedHandler != nullptr)
        s_destroyedHandler(pBridge->getScriptClassName(), strMadeAt, bCollected);
}

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
    s_collected.push_back(CCollected{pTracked->m_pBridge, pTracked->m_pNative, std::move(pTracked->m_strMadeAt)});
    delete pTracked;
    if (!s_bDrainQueued) {
        s_bDrainQueued = true;
        g_idle_add(DrainCollected, nullptr);
    }
}

}  // namespace

void CObjectRegistry::Track(v8::Isolate* pIsolate, v8::Local<v8::Object> object,
                            ScriptBridge* pBridge, void* pNative, const std::string& strMadeAt)
{
    CTrackedObject* pTracked =
        new CTrackedObject{v8::Global<v8::Object>(pIsolate, object), pBridge, pNative, strMadeAt};
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
    // The wrapper reads as destroyed before the native goes away.
    object->SetInternalField(0, v8::External::New(pIsolate, nullptr));
    pTracked->m_object.Reset();
    if (pTracked->m_iCallsRunning > 0) {
        // A getter or a callback of a running call asked for it: the call
        // still uses the native, so the last call to end destroys it.
        pTracked->m_bDestroyPending = true;
        return true;
    }
    s_live.erase(it);
    DestroyNative(pTracked->m_pBridge, pTracked->m_pNative, pTracked->m_strMadeAt, false);
    delete pTracked;
    return true;
}

void* CObjectRegistry::BeginCall(void* pNative)
{
    auto it = s_live.find(pNative);
    if (it == s_live.end())
        return nullptr;
    ++it->second->m_iCallsRunning;
    return it->second;
}

void CObjectRegistry::EndCall(void* pToken)
{
    CTrackedObject* pTracked = static_cast<CTrackedObject*>(pToken);
    if (pTracked == nullptr || --pTracked->m_iCallsRunning > 0 || !pTracked->m_bDestroyPending)
        return;
    s_live.erase(pTracked->m_pNative);
    DestroyNative(pTracked->m_pBridge, pTracked->m_pNative, pTracked->m_strMadeAt, false);
    delete pTracked;
}

void CObjectRegistry::DestroyCollected()
{
    while (!s_collected.empty()) {
        CCollected collected = s_collected.back();
        s_collected.pop_back();
        DestroyNative(collected.m_pBridge, collected.m_pNative, collected.m_strMadeAt, true);
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
    // Hosts detach between calls. Should a call still run, its native stays
    // pending and the call destroys it when it ends.
    auto notPending = [](const std::pair<void* const, CTrackedObject*>& entry) {
        return !entry.second->m_bDestroyPending;
    };
    for (auto it = std::find_if(s_live.begin(), s_live.end(), notPending); it != s_live.end();
         it = std::find_if(s_live.begin(), s_live.end(), notPending)) {
        CTrackedObject* pTracked = it->second;
        v8::Local<v8::Object> object = pTracked->m_object.Get(pIsolate);
        object->SetInternalField(0, v8::External::New(pIsolate, nullptr));
        pTracked->m_object.Reset();
        if (pTracked->m_iCallsRunning > 0) {
            pTracked->m_bDestroyPending = true;
            continue;
        }
        s_live.erase(it);
        DestroyNative(pTracked->m_pBridge, pTracked->m_pNative, pTracked->m_strMadeAt, false);
        delete pTracked;
    }
}

void CObjectRegistry::SetDestroyedHandler(Engine::DestroyedHandler handler)
{
    s_destroyedHandler = handler;
}

std::size_t CObjectRegistry::Count()
{
    return s_live.size() + s_collected.size();
}

}  // namespace Bridge
