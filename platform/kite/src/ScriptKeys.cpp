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
    IsolateData* pData = IsolateData::From(pIsolate);
    if (strName.size() > s_uMaxKeyLength || pData == nullptr)
        return Internalized(pIsolate, strName).FromMaybe(v8::String::Empty(pIsolate));
    auto it = pData->m_keys.find(strName);
    if (it != pData->m_keys.end())
        return it->second.Get(pIsolate);
    v8::Local<v8::String> key;
    if (!Internalized(pIsolate, strName).ToLocal(&key))
        return v8::String::Empty(pIsolate);
    if (pData->m_keys.size() < s_uMaxKeys)
        pData->m_keys.emplace(strName, v8::Eternal<v8::String>(pIsolate, key));
    return key;
}

}  // namespace Bridge
