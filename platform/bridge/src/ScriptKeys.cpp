#include "IsolateData.h"

#include <algorithm>
#include <cstdio>

#include "Bridge/ScriptText.h"

namespace Bridge {

namespace {

// Eternal handles live as long as their isolate, so the cache is bounded:
// long or surplus names are made on every use instead.
const std::size_t s_uMaxKeyLength = 64;
const std::size_t s_uMaxKeys = 256;
// Result shapes are few; makers of others are compiled on every use.
const std::size_t s_uMaxMakers = 64;

Compat::MaybeLocal<v8::String> Internalized(v8::Isolate* pIsolate, const std::string& strName)
{
    return Compat::AsMaybe(v8::String::NewFromUtf8(pIsolate, strName.data(), Compat::kInternalizedString,
                                                   static_cast<int>(strName.size())));
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

namespace {

// A name as a script string literal, in ASCII.
void AppendLiteral(std::string& strSource, v8::Isolate* pIsolate, v8::Local<v8::String> name)
{
    std::vector<uint16_t> aUnits(static_cast<std::size_t>(name->Length()));
    Compat::Write(pIsolate, name, aUnits.data(), 0, name->Length(), v8::String::NO_NULL_TERMINATION);
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
Compat::MaybeLocal<v8::Function> CompileMaker(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
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
    return Compat::CompileFunction(context, NewText(pIsolate, strSource), static_cast<int>(aParameters.size()),
                                   aParameters.data());
}

}  // namespace

v8::Local<v8::Object> NewObjectWith(v8::Isolate* pIsolate, v8::Local<v8::Context> context, const std::string* aNames,
                                    v8::Local<v8::Value>* aValues, int iCount)
{
    // An isolate that is not attached compiles a maker on every use.
    IsolateData* pData = IsolateData::From(pIsolate);
    v8::Local<v8::Function> function;
    if (pData != nullptr) {
        if (pData->m_makerContext != context) {
            pData->m_aMakers.clear();
            pData->m_makerContext.Reset(pIsolate, context);
        }
        for (const CObjectMaker& maker : pData->m_aMakers) {
            if (maker.m_aNames.size() == static_cast<std::size_t>(iCount) &&
                std::equal(maker.m_aNames.begin(), maker.m_aNames.end(), aNames)) {
                function = maker.m_function.Get(pIsolate);
                break;
            }
        }
    }
    if (function.IsEmpty()) {
        if (!CompileMaker(pIsolate, context, aNames, iCount).ToLocal(&function))
            return v8::Local<v8::Object>();
        if (pData != nullptr && pData->m_aMakers.size() < s_uMaxMakers) {
            pData->m_aMakers.emplace_back();
            pData->m_aMakers.back().m_aNames.assign(aNames, aNames + iCount);
            pData->m_aMakers.back().m_function.Reset(pIsolate, function);
        }
    }
    v8::Local<v8::Value> object;
    // Only the stack's end or a termination stops a maker, or its compilation.
    if (!Compat::Call(context, function, v8::Undefined(pIsolate), iCount, aValues).ToLocal(&object))
        return v8::Local<v8::Object>();
    return object.As<v8::Object>();
}

}  // namespace Bridge
