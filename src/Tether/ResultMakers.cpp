#include "ResultMakers.h"

namespace Tether {

namespace {

const char* const s_pszMakers =
    "[function (ecode) {\n"
    "  var result = {};\n"
    "  result.return_ecode = ecode;\n"
    "  return result;\n"
    "}, function (ecode, type, data) {\n"
    "  var result = {};\n"
    "  result.return_ecode = ecode;\n"
    "  result.return_type = type;\n"
    "  result.return_data = data;\n"
    "  return result;\n"
    "}]";

const int s_iReadyMadeCodes = 3;  // 0, -1 and -2

CResultMakers& Instance()
{
    // Never destroyed: at exit its handles may belong to a disposed isolate.
    static CResultMakers* s_pMakers = new CResultMakers();
    return *s_pMakers;
}

v8::MaybeLocal<v8::Function> FunctionAt(v8::Local<v8::Context> context, v8::Local<v8::Value> list,
                                        uint32_t uIndex)
{
    v8::Local<v8::Value> value;
    if (!list->IsArray() || !list.As<v8::Array>()->Get(context, uIndex).ToLocal(&value) || !value->IsFunction())
        return v8::MaybeLocal<v8::Function>();
    return value.As<v8::Function>();
}

}  // namespace

CResultMakers* CResultMakers::For(v8::Isolate* pIsolate, v8::Local<v8::Context> context)
{
    CResultMakers& makers = Instance();
    if (!makers.m_context.IsEmpty() && makers.m_context.Get(pIsolate) == context)
        return &makers;
    return makers.Make(pIsolate, context) ? &makers : nullptr;
}

void CResultMakers::Release()
{
    Instance().Reset();
}

v8::Local<v8::Function> CResultMakers::CommandMaker(v8::Isolate* pIsolate) const
{
    return m_commandMaker.Get(pIsolate);
}

v8::Local<v8::Function> CResultMakers::QueryMaker(v8::Isolate* pIsolate) const
{
    return m_queryMaker.Get(pIsolate);
}

v8::MaybeLocal<v8::Object> CResultMakers::CopyCommandResult(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                                           int iCode) const
{
    if (iCode > 0 || -iCode >= s_iReadyMadeCodes)
        return v8::MaybeLocal<v8::Object>();
    // Object.prototype's own prototype cannot change, so it is the only
    // place an assignment would look at besides the new object.
    v8::Maybe<bool> bInherited =
        m_objectPrototype.Get(pIsolate)->HasRealNamedProperty(context, m_returnEcode.Get(pIsolate));
    if (bInherited.IsNothing() || bInherited.FromJust())
        return v8::MaybeLocal<v8::Object>();
    return m_aCommandResults[-iCode].Get(pIsolate)->Clone();
}

// The context must be entered.
bool CResultMakers::Make(v8::Isolate* pIsolate, v8::Local<v8::Context> context)
{
    Reset();
    v8::TryCatch tryCatch(pIsolate);
    v8::Local<v8::String> source;
    v8::Local<v8::Script> script;
    v8::Local<v8::Value> list;
    v8::Local<v8::Function> commandMaker;
    v8::Local<v8::Function> queryMaker;
    if (!v8::String::NewFromUtf8(pIsolate, s_pszMakers).ToLocal(&source) ||
        !v8::Script::Compile(context, source).ToLocal(&script) || !script->Run(context).ToLocal(&list) ||
        !FunctionAt(context, list, 0).ToLocal(&commandMaker) || !FunctionAt(context, list, 1).ToLocal(&queryMaker))
        return false;

    v8::Local<v8::String> returnEcode =
        v8::String::NewFromUtf8Literal(pIsolate, "return_ecode", v8::NewStringType::kInternalized);
    v8::Local<v8::Object> aResults[s_iReadyMadeCodes];
    for (int i = 0; i < s_iReadyMadeCodes; ++i) {
        // Defined, not assigned: the copies must have the property whatever
        // Object.prototype holds now.
        aResults[i] = v8::Object::New(pIsolate);
        if (!aResults[i]->CreateDataProperty(context, returnEcode, v8::Integer::New(pIsolate, -i)).FromMaybe(false))
            return false;
    }
    v8::Local<v8::Value> objectPrototype = aResults[0]->GetPrototype();
    if (!objectPrototype->IsObject())
        return false;

    m_context.Reset(pIsolate, context);
    m_commandMaker.Reset(pIsolate, commandMaker);
    m_queryMaker.Reset(pIsolate, queryMaker);
    m_objectPrototype.Reset(pIsolate, objectPrototype.As<v8::Object>());
    m_returnEcode.Reset(pIsolate, returnEcode);
    for (int i = 0; i < s_iReadyMadeCodes; ++i)
        m_aCommandResults[i].Reset(pIsolate, aResults[i]);
    return true;
}

void CResultMakers::Reset()
{
    m_context.Reset();
    m_commandMaker.Reset();
    m_queryMaker.Reset();
    m_objectPrototype.Reset();
    m_returnEcode.Reset();
    for (v8::Global<v8::Object>& result : m_aCommandResults)
        result.Reset();
}

}  // namespace Tether
