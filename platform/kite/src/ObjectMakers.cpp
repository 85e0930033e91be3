#include "ObjectMakers.h"

#include <cstdio>
#include <utility>

#include "IsolateData.h"
#include "ScriptKeys.h"

namespace Bridge {

namespace {

const std::size_t s_uMaxMakers = 16;

// The name as a script string literal denoting exactly the key the bridge
// makes of it, code unit by code unit.
std::string Literal(v8::Isolate* pIsolate, const std::string& strName)
{
    v8::Local<v8::String> key = KeyToV8(pIsolate, strName);
    std::vector<uint16_t> aUnits(static_cast<std::size_t>(key->Length()));
    key->Write(pIsolate, aUnits.data(), 0, key->Length(), v8::String::NO_NULL_TERMINATION);
    std::string strLiteral = "\"";
    for (uint16_t uUnit : aUnits) {
        bool bPlain = uUnit >= 0x20 && uUnit < 0x7f && uUnit != '"' && uUnit != '\\';
        if (bPlain) {
            strLiteral += static_cast<char>(uUnit);
        } else {
            char szEscape[8];
            std::snprintf(szEscape, sizeof szEscape, "\\u%04x", uUnit);
            strLiteral += szEscape;
        }
    }
    return strLiteral + "\"";
}

std::string MakerSource(v8::Isolate* pIsolate, const std::string* const* apNames, int iCount)
{
    std::string strParameters;
    std::string strBody = "  var o = {};\n";
    for (int i = 0; i < iCount; ++i) {
        std::string strValue = "v" + std::to_string(i);
        strParameters += (i == 0 ? "" : ", ") + strValue;
        strBody += "  o[" + Literal(pIsolate, *apNames[i]) + "] = " + strValue + ";\n";
    }
    return "(function (" + strParameters + ") {\n" + strBody + "  return o;\n})";
}

v8::MaybeLocal<v8::Function> Compile(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                     const std::string* const* apNames, int iCount)
{
    // Nothing compiles while the script is being terminated; the caller's
    // own stores then fail as they should.
    if (pIsolate->IsExecutionTerminating())
        return v8::MaybeLocal<v8::Function>();
    v8::TryCatch tryCatch(pIsolate);
    std::string strSource = MakerSource(pIsolate, apNames, iCount);
    v8::Local<v8::String> source;
    v8::Local<v8::Script> script;
    v8::Local<v8::Value> function;
    if (!v8::String::NewFromUtf8(pIsolate, strSource.data(), v8::NewStringType::kNormal,
                                 static_cast<int>(strSource.size()))
             .ToLocal(&source) ||
        !v8::Script::Compile(context, source).ToLocal(&script) || !script->Run(context).ToLocal(&function) ||
        !function->IsFunction())
        return v8::MaybeLocal<v8::Function>();
    return function.As<v8::Function>();
}

bool SameNames(const std::vector<std::string>& aNames, const std::string* const* apNames, int iCount)
{
    if (aNames.size() != static_cast<std::size_t>(iCount))
        return false;
    for (int i = 0; i < iCount; ++i) {
        if (aNames[static_cast<std::size_t>(i)] != *apNames[i])
            return false;
    }
    return true;
}

}  // namespace

v8::Local<v8::Function> CObjectMakers::get(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                           const std::string* const* apNames, int iCount)
{
    if (iCount < 1 || iCount > s_iMaxMadeProperties)
        return v8::Local<v8::Function>();
    if (m_context.IsEmpty() || m_context.Get(pIsolate) != context) {
        reset();
        m_context.Reset(pIsolate, context);
    }
    for (CMaker& maker : m_aMakers) {
        if (SameNames(maker.m_aNames, apNames, iCount))
            return maker.m_function.Get(pIsolate);
    }
    v8::Local<v8::Function> made;
    if (!Compile(pIsolate, context, apNames, iCount).ToLocal(&made))
        return made;
    if (m_aMakers.size() == s_uMaxMakers)
        m_aMakers.pop_back();
    CMaker maker;
    for (int i = 0; i < iCount; ++i)
        maker.m_aNames.push_back(*apNames[i]);
    maker.m_function.Reset(pIsolate, made);
    m_aMakers.insert(m_aMakers.begin(), std::move(maker));
    return made;
}

void CObjectMakers::reset()
{
    m_context.Reset();
    m_aMakers.clear();
}

v8::Local<v8::Function> ObjectMaker(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                    const std::string* const* apNames, int iCount)
{
    return IsolateDataOf(pIsolate).m_makers.get(pIsolate, context, apNames, iCount);
}

}  // namespace Bridge
