#include "ScriptKeys.h"

#include "IsolateData.h"

namespace Bridge {

namespace {

// Eternal handles live as long as their isolate, so the cache is bounded:
// long or surplus names are made on every use instead.
const std::size_t s_uMaxKeyLength = 64;
const std::size_t s_uMaxKeys = 256;

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
    std::unordered_map<std::string, v8::Eternal<v8::String>>& mapKeys = IsolateDataOf(pIsolate).m_mapKeys;
    auto it = mapKeys.find(strName);
    if (it != mapKeys.end())
        return it->second.Get(pIsolate);
    v8::Local<v8::String> key;
    if (!Internalized(pIsolate, strName).ToLocal(&key))
        return v8::String::Empty(pIsolate);
    if (mapKeys.size() < s_uMaxKeys)
        mapKeys.emplace(strName, v8::Eternal<v8::String>(pIsolate, key));
    return key;
}

}  // namespace Bridge
