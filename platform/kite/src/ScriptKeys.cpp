#include "ScriptKeys.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "Bridge/ScriptText.h"

namespace Bridge {

namespace {

// Eternal handles live as long as their isolate, so the cache is bounded:
// long or surplus names are made on every use instead.
const std::size_t s_uMaxKeyLength = 64;
const std::size_t s_uMaxKeys = 256;
// Result shapes are few; makers of others are compiled on every use.
const std::size_t s_uMaxMakers = 64;

struct CMaker {
    std::vector<std::string> m_aNames;
    v8::Persistent<v8::Function> m_function;
};

struct CKeyCache {
    std::unordered_map<std::string, v8::Eternal<v8::String>> m_mapKeys;
    // Object makers by sequence of names, few enough to search in turn, and
    // the context they make objects in. Persistent handles are not reset
    // when destroyed, so a cache that outlives its isolate stays harmless;
    // ReleaseKeys resets them.
    std::deque<CMaker> m_aMakers;
    v8::Persistent<v8::Context> m_makerContext;
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

namespace {

// A name as a script string literal, in ASCII.
void AppendLiteral(std::string& strSource, v8::Isolate* pIsolate, v8::Local<v8::String> name)
{
    std::vector<uint16_t> aUnits(static_cast<std::size_t>(name->Length()));
    name->Write(pIsolate, aUnits.data(), 0, name->Length(), v8::String::NO_NULL_TERMINATION);
    strSource += '"';
    for (uint16_t uUnit : aUnits) {
        if ((uUnit >= 'a' && uUnit <= 'z') || (uUnit >= 'A' && uUnit <= 'Z') || (uUnit >= '0' && uUnit <= '9') ||
            uUnit == '_') {
            strSource += static_cast<char>(uUnit);
        } else {
            char szEscape[8];
            std::snprintf(szEscape, sizeof szEscape, "\\u%04X", static_cast<unsigned>(uUnit));
            strSource += szEscape;
        }
    }
    strSource += '"';
}

// function (a0, a1, ...) { return { "name0": a0, "name1": a1, ... }; }
v8::MaybeLocal<v8::Function> CompileMaker(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                          const std::string* aNames, int iCount)
{
    std::string strSource = "return {";
    std::vector<v8::Local<v8::String>> aParameters;
    for (int i = 0; i < iCount; ++i) {
        std::string strParameter = "a" + std::to_string(i);
        aParameters.push_back(KeyToV8(pIsolate, strParameter));
        // Written plainly, "__proto__" would set the prototype.
        bool bComputed = aNames[i] == "__proto__";
        strSource += bComputed ? "[" : "";
        AppendLiteral(strSource, pIsolate, KeyToV8(pIsolate, aNames[i]));
        strSource += (bComputed ? "]:" : ":") + strParameter + ",";
    }
    strSource += "};";
    v8::ScriptCompiler::Source source(NewText(pIsolate, strSource));
    return v8::ScriptCompiler::CompileFunction(context, &source, aParameters.size(), aParameters.data());
}

}  // namespace

v8::Local<v8::Object> NewObjectWith(v8::Isolate* pIsolate, v8::Local<v8::Context> context, const std::string* aNames,
                                    v8::Local<v8::Value>* aValues, int iCount)
{
    CKeyCache* pCache = CacheOf(pIsolate);
    if (pCache->m_makerContext != context) {
        for (CMaker& maker : pCache->m_aMakers)
            maker.m_function.Reset();
        pCache->m_aMakers.clear();
        pCache->m_makerContext.Reset(pIsolate, context);
    }
    auto it = std::find_if(pCache->m_aMakers.begin(), pCache->m_aMakers.end(), [&](const CMaker& maker) {
        return maker.m_aNames.size() == static_cast<std::size_t>(iCount) &&
               std::equal(maker.m_aNames.begin(), maker.m_aNames.end(), aNames);
    });
    v8::Local<v8::Function> function;
    if (it != pCache->m_aMakers.end()) {
        function = it->m_function.Get(pIsolate);
    } else if (CompileMaker(pIsolate, context, aNames, iCount).ToLocal(&function) &&
               pCache->m_aMakers.size() < s_uMaxMakers) {
        pCache->m_aMakers.emplace_back();
        pCache->m_aMakers.back().m_aNames.assign(aNames, aNames + iCount);
        pCache->m_aMakers.back().m_function.Reset(pIsolate, function);
    }
    v8::Local<v8::Value> object;
    // Only the stack's end or a termination stops a maker, or its compilation.
    if (function.IsEmpty() || !function->Call(context, v8::Undefined(pIsolate), iCount, aValues).ToLocal(&object))
        return v8::Local<v8::Object>();
    return object.As<v8::Object>();
}

void ReleaseKeys(v8::Isolate* pIsolate)
{
    CKeyCache* pCache = static_cast<CKeyCache*>(pIsolate->GetData(Slot(pIsolate)));
    if (pCache == nullptr)
        return;
    pIsolate->SetData(Slot(pIsolate), nullptr);
    for (CMaker& maker : pCache->m_aMakers)
        maker.m_function.Reset();
    pCache->m_makerContext.Reset();
    std::lock_guard<std::mutex> lock(s_cachesLock);
    std::vector<std::unique_ptr<CKeyCache>>& aCaches = Caches();
    aCaches.erase(std::remove_if(aCaches.begin(), aCaches.end(),
                                 [pCache](const std::unique_ptr<CKeyCache>& p) { return p.get() == pCache; }),
                  aCaches.end());
}

}  // namespace Bridge
