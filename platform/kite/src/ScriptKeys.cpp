#include "ScriptKeys.h"

#include <algorithm>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace Bridge {

namespace {

// Eternal handles live as long as their isolate, so the cache is bounded:
// long or surplus names are made on every use instead.
const std::size_t s_uMaxKeyLength = 64;
const std::size_t s_uMaxKeys = 256;

struct CKeyCache {
    std::unordered_map<std::string, v8::Eternal<v8::String>> m_mapKeys;
};

// Every cache stays reachable from here until released, also those of
// isolates disposed without a detach.
std::mutex s_cachesLock;
std::vector<std::unique_ptr<CKeyCache>>& Caches()
{
    static std::vector<std::unique_ptr<CKeyCache>> s_aCaches;
    return s_aCaches;
}

uint32_t Slot(v8::Isolate*)
{
    return v8::Isolate::GetNumberOfDataSlots() - 1;
}

CKeyCache* CacheOf(v8::Isolate* pIsolate)
{
    void* pData = pIsolate->GetData(Slot(pIsolate));
    if (pData != nullptr)
        return static_cast<CKeyCache*>(pData);
    CKeyCache* pCache = new CKeyCache();
    {
        std::lock_guard<std::mutex> lock(s_cachesLock);
        Caches().emplace_back(pCache);
    }
    pIsolate->SetData(Slot(pIsolate), pCache);
    return pCache;
}

v8::MaybeLocal<v8::String> Internalized(v8::Isolate* pIsolate, const std::string& strName)
{
    return v8::String::NewFromUtf8(pIsolate, strName.data(), v8::NewStringType::kInternalized,
                                   static_cast<int>(strName.size()));
}

}  // namespace

v8::Local<v8::String> KeyToV8(v8::Isolate* pIsolate, const std::string& strName)
{
    if (strName.size() > s_uMaxKeyLength)
        return Internalized(pIsolate, strName).FromMaybe(v8::String::Empty(pIsolate));
    CKeyCache* pCache = CacheOf(pIsolate);
    auto it = pCache->m_mapKeys.find(strName);
    if (it != pCache->m_mapKeys.end())
        return it->second.Get(pIsolate);
    v8::Local<v8::String> key;
    if (!Internalized(pIsolate, strName).ToLocal(&key))
        return v8::String::Empty(pIsolate);
    if (pCache->m_mapKeys.size() < s_uMaxKeys)
        pCache->m_mapKeys.emplace(strName, v8::Eternal<v8::String>(pIsolate, key));
    return key;
}

void ReleaseKeys(v8::Isolate* pIsolate)
{
    CKeyCache* pCache = static_cast<CKeyCache*>(pIsolate->GetData(Slot(pIsolate)));
    if (pCache == nullptr)
        return;
    pIsolate->SetData(Slot(pIsolate), nullptr);
    std::lock_guard<std::mutex> lock(s_cachesLock);
    std::vector<std::unique_ptr<CKeyCache>>& aCaches = Caches();
    aCaches.erase(std::remove_if(aCaches.begin(), aCaches.end(),
                                 [pCache](const std::unique_ptr<CKeyCache>& p) { return p.get() == pCache; }),
                  aCaches.end());
}

}  // namespace Bridge
