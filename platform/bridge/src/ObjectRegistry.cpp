#include "IsolateData.h"

#include <algorithm>
#include <utility>

namespace Bridge {

struct CTrackedObject {
    Compat::Global<v8::Object> m_object;  // empty once a destruction is pending
    CObjectRegistry::CNative m_native;
    // Null once the registry is gone while a call still used the native.
    CObjectRegistry* m_pRegistry;
    // Methods and setters of the native that have not returned yet.
    int m_iCallsRunning = 0;
    bool m_bDestroyPending = false;
    bool m_bKeepsRun = true;
    // Its place in the order objects were tracked, from 1.
    unsigned long long m_ullSerial = 0;
};

CObjectRegistry::~CObjectRegistry()
{
    for (auto& entry : m_live) {
        if (entry.second->m_bDestroyPending)
            entry.second->m_pRegistry = nullptr;
        else
            delete entry.second;
    }
}

// Runs inside the collector, where V8 may not be called: the native is
// destroyed later, from the main loop.
void CObjectRegistry::OnCollected(CTrackedObject* pTracked)
{
    CObjectRegistry* pRegistry = pTracked->m_pRegistry;
    pTracked->m_object.Reset();
    pRegistry->Forget(pTracked);
    pRegistry->m_live.erase(pTracked->m_native.m_pNative);
    pRegistry->m_aCollected.push_back(std::move(pTracked->m_native));
    delete pTracked;
    if (!pRegistry->m_bDrainPosted && pRegistry->m_post != nullptr) {
        pRegistry->m_bDrainPosted = true;
        pRegistry->m_post(pRegistry->m_drain);
    }
}

void CObjectRegistry::Track(v8::Isolate* pIsolate, v8::Local<v8::Object> object, DestroyNative destroy,
                            ScriptBridge* pBridge, void* pNative, const char* pszClassName, std::string strMadeAt)
{
    CTrackedObject* pTracked =
        new CTrackedObject{Compat::Global<v8::Object>(pIsolate, object),
                           CNative{destroy, pBridge, pNative, pszClassName, std::move(strMadeAt)}, this};
    pTracked->m_ullSerial = ++m_ullTracked;
    Compat::SetWeak<CTrackedObject, &OnCollected>(pTracked->m_object, pTracked);
    m_pLastCalled = nullptr;
    m_live[pNative] = pTracked;
    auto born = std::find(m_aBornIdle.begin(), m_aBornIdle.end(), pNative);
    if (born != m_aBornIdle.end()) {
        m_aBornIdle.erase(born);
        pTracked->m_bKeepsRun = false;
        ++m_uIdle;
    }
    if (m_pThreadCalls != nullptr)
        m_pThreadCalls->OwnerTracked(pIsolate, pNative, object);
}

v8::Local<v8::Object> CObjectRegistry::ObjectOf(v8::Isolate* pIsolate, void* pNative) const
{
    auto it = m_live.find(pNative);
    if (it == m_live.end() || it->second->m_bDestroyPending)
        return v8::Local<v8::Object>();
    return it->second->m_object.Get(pIsolate);
}

std::vector<LiveObject> CObjectRegistry::LiveSince(v8::Isolate* pIsolate, unsigned long long ullMark) const
{
    std::vector<std::pair<unsigned long long, const CTrackedObject*>> aMade;
    for (const auto& entry : m_live) {
        if (entry.second->m_ullSerial > ullMark && !entry.second->m_bDestroyPending)
            aMade.emplace_back(entry.second->m_ullSerial, entry.second);
    }
    std::sort(aMade.begin(), aMade.end());
    std::vector<LiveObject> aLive;
    for (const auto& made : aMade) {
        const CNative& native = made.second->m_native;
        aLive.push_back({made.second->m_object.Get(pIsolate), native.m_pszClassName, native.m_strMadeAt});
    }
    return aLive;
}

void CObjectRegistry::DestroyNow(const CNative& native, bool bCollected) const
{
    // First, so that a destructor that joins a posting thread finds it
    // no longer waiting for room.
    if (m_pThreadCalls != nullptr)
        m_pThreadCalls->OwnerGone(native.m_pNative);
    native.m_destroy(native.m_pBridge, native.m_pNative);
    if (m_destroyed != nullptr)
        m_destroyed(native.m_pszClassName, native.m_strMadeAt, bCollected);
}

void CObjectRegistry::Forget(CTrackedObject* pTracked)
{
    if (m_pLastCalled == pTracked)
        m_pLastCalled = nullptr;
    if (!pTracked->m_bKeepsRun) {
        pTracked->m_bKeepsRun = true;
        --m_uIdle;
    }
}

bool CObjectRegistry::SetKeepsRun(void* pNative, bool bKeeps)
{
    auto it = m_live.find(pNative);
    if (it == m_live.end() && m_iConstructing > 0) {
        auto born = std::find(m_aBornIdle.begin(), m_aBornIdle.end(), pNative);
        if (!bKeeps && born == m_aBornIdle.end())
            m_aBornIdle.push_back(pNative);
        else if (bKeeps && born != m_aBornIdle.end())
            m_aBornIdle.erase(born);
        return true;
    }
    if (it == m_live.end() || it->second->m_bDestroyPending)
        return false;
    CTrackedObject* pTracked = it->second;
    if (pTracked->m_bKeepsRun != bKeeps) {
        pTracked->m_bKeepsRun = bKeeps;
        if (bKeeps)
            --m_uIdle;
        else
            ++m_uIdle;
    }
    return true;
}

void CObjectRegistry::Finish(CTrackedObject* pTracked)
{
    Forget(pTracked);
    m_live.erase(pTracked->m_native.m_pNative);
    DestroyNow(pTracked->m_native, false);
    delete pTracked;
}

bool CObjectRegistry::Destroy(v8::Isolate* pIsolate, v8::Local<v8::Object> object)
{
    if (object->InternalFieldCount() < 2)
        return false;
    v8::Local<v8::Value> field = object->GetInternalField(0);
    if (!field->IsExternal())
        return false;
    auto it = m_live.find(field.As<v8::External>()->Value());
    if (it == m_live.end() || it->second->m_object.Get(pIsolate) != object)
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
    Finish(pTracked);
    return true;
}

void* CObjectRegistry::BeginCall(void* pNative)
{
    CTrackedObject* pTracked = m_pLastCalled;
    if (pTracked == nullptr || pTracked->m_native.m_pNative != pNative) {
        auto it = m_live.find(pNative);
        if (it == m_live.end())
            return nullptr;
        pTracked = it->second;
        m_pLastCalled = pTracked;
    }
    ++pTracked->m_iCallsRunning;
    return pTracked;
}

void CObjectRegistry::EndCall(void* pToken)
{
    CTrackedObject* pTracked = static_cast<CTrackedObject*>(pToken);
    if (pTracked == nullptr || --pTracked->m_iCallsRunning > 0 || !pTracked->m_bDestroyPending)
        return;
    if (pTracked->m_pRegistry != nullptr) {
        pTracked->m_pRegistry->Finish(pTracked);
        return;
    }
    // The isolate is gone, and its destroyed handler with it.
    pTracked->m_native.m_destroy(pTracked->m_native.m_pBridge, pTracked->m_native.m_pNative);
    delete pTracked;
}

void CObjectRegistry::DestroyCollected()
{
    m_bDrainPosted = false;
    while (!m_aCollected.empty()) {
        CNative collected = std::move(m_aCollected.back());
        m_aCollected.pop_back();
        DestroyNow(collected, true);
    }
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
    for (auto it = std::find_if(m_live.begin(), m_live.end(), notPending); it != m_live.end();
         it = std::find_if(m_live.begin(), m_live.end(), notPending)) {
        CTrackedObject* pTracked = it->second;
        v8::Local<v8::Object> object = pTracked->m_object.Get(pIsolate);
        object->SetInternalField(0, v8::External::New(pIsolate, nullptr));
        pTracked->m_object.Reset();
        if (pTracked->m_iCallsRunning > 0) {
            pTracked->m_bDestroyPending = true;
            continue;
        }
        Finish(pTracked);
    }
}

}  // namespace Bridge
