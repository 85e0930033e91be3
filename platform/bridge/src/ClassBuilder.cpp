#include "Bridge/ClassBuilder.h"

#include "Bridge/Converter.h"

namespace Bridge {

namespace {

// "Class.member", the member being the router's data.
std::string MemberOf(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType)
{
    std::string strWhere = static_cast<const NativeType*>(pNativeType)->m_pszScriptClassName;
    v8::Local<v8::Value> member = info.Data();
    if (!member.IsEmpty() && member->IsString())
        strWhere += "." + TextOf(info.GetIsolate(), member.As<v8::String>());
    return strWhere;
}

}  // namespace

ClassBuilderBase::ClassBuilderBase(ScriptBridge& bridge, ScriptBridge::ScriptContext& context,
                                   const void* pNativeType)
    : m_bridge(bridge), m_pIsolate(v8::Isolate::GetCurrent()), m_context(context)
{
    bridge.tieNativeType(pNativeType);
}

void ClassBuilderBase::addFunction(EPlace ePlace, const char* pszName, v8::FunctionCallback router)
{
    v8::Local<v8::String> name = NewText(m_pIsolate, pszName);
    v8::Local<v8::FunctionTemplate> function = v8::FunctionTemplate::New(m_pIsolate, router, name);
    if (ePlace == PROTOTYPE)
        m_context.m_hPrototypeTemplate->Set(name, function, v8::None);
    else
        // Inside mapScriptInterface the bridge answers the template it is
        // building.
        m_bridge.GetConstructorTemplate()->Set(name, function, v8::None);
}

void ClassBuilderBase::addCallback(const char* pszName, v8::AccessorSetterCallback setter)
{
    m_context.m_hInstanceTemplate->SetAccessor(NewText(m_pIsolate, pszName), nullptr, setter);
}

void ClassBuilderBase::addAccessor(const char* pszName, v8::FunctionCallback getter, v8::FunctionCallback setter)
{
    v8::Local<v8::String> name = NewText(m_pIsolate, pszName);
    v8::Local<v8::FunctionTemplate> setterTemplate;
    if (setter != nullptr)
        setterTemplate = v8::FunctionTemplate::New(m_pIsolate, setter, name);
    m_context.m_hPrototypeTemplate->SetAccessorProperty(name, v8::FunctionTemplate::New(m_pIsolate, getter, name),
                                                        setterTemplate, v8::DontEnum);
}

void ClassBuilderBase::addValue(EPlace ePlace, const char* pszName, v8::Local<v8::Value> value)
{
    v8::Local<v8::String> name = NewText(m_pIsolate, pszName);
    const v8::PropertyAttribute eFixed = static_cast<v8::PropertyAttribute>(v8::ReadOnly | v8::DontDelete);
    if (ePlace == PROTOTYPE)
        m_context.m_hPrototypeTemplate->Set(name, value, eFixed);
    else
        m_bridge.GetConstructorTemplate()->Set(name, value, eFixed);
}

void ClassBuilderBase::Route(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType, EPlace ePlace,
                             TypedCall call)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    try {
        if (ePlace == CONSTRUCTOR) {
            call(nullptr, info);
            return;
        }
        void* pNative = ScriptBridge::extractTaggedInCall(pIsolate, info.This(), pNativeType);
        if (pNative == nullptr) {
            const char* pszClass = static_cast<const NativeType*>(pNativeType)->m_pszScriptClassName;
            throw ScriptError(ScriptError::TYPE_ERROR, "Illegal invocation: " + MemberOf(info, pNativeType) +
                                                           " on an object that is not a " + pszClass);
        }
        NativeCallScope scope(pNative);
        call(pNative, info);
    } catch (...) {
        v8::Local<v8::Value> thrown = ScriptBridge::RaiseCaught(pIsolate, pNativeType, info.Data());
        if (!thrown.IsEmpty())
            info.GetReturnValue().Set(thrown);
    }
}

ScriptFunction ClassBuilderBase::HoldOnReceiver(v8::Isolate* pIsolate, v8::Local<v8::Object> receiver,
                                                v8::Local<v8::Value> member, v8::Local<v8::Value> value)
{
    std::string strKey = "kite.callback.";
    if (!member.IsEmpty() && member->IsString())
        strKey += TextOf(pIsolate, member.As<v8::String>());
    Compat::SetHidden(pIsolate, pIsolate->GetCurrentContext(), receiver, NewText(pIsolate, strKey), value);
    return ScriptFunction(value.As<v8::Function>()).weak();
}

void ClassBuilderBase::RouteCallback(v8::Local<v8::String> name, v8::Local<v8::Value> value,
                                     const v8::PropertyCallbackInfo<void>& info, const void* pNativeType,
                                     CallbackSet set)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    try {
        void* pNative = ScriptBridge::extractTaggedInCall(pIsolate, info.This(), pNativeType);
        if (pNative == nullptr)
            throw KiteJsRuntimeException("Attempt to pass a JSObject as a native object");
        NativeCallScope scope(pNative);
        set(pNative, HoldOnReceiver(pIsolate, info.This(), name, value));
    } catch (...) {
        ScriptBridge::RaiseCaught(pIsolate, pNativeType, name);
    }
}

void ClassBuilderBase::RefuseCount(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType,
                                   int iNeeded)
{
    throw ScriptError(ScriptError::TYPE_ERROR, MemberOf(info, pNativeType) + ": needs " + std::to_string(iNeeded) +
                                                   (iNeeded == 1 ? " argument, got " : " arguments, got ") +
                                                   std::to_string(info.Length()));
}

void ClassBuilderBase::RefuseArgument(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType,
                                      int iArgument, const char* pszExpected)
{
    std::string strWhat = iArgument > 0 ? "argument " + std::to_string(iArgument) : std::string("the value");
    throw ScriptError(ScriptError::TYPE_ERROR,
                      MemberOf(info, pNativeType) + ": " + strWhat + " must be " + pszExpected);
}

}  // namespace Bridge
