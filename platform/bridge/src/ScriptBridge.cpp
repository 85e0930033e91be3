#include "Bridge/ScriptBridge.h"

#include <cstring>

#include "Bridge/Converter.h"
#include "IsolateData.h"

namespace Bridge {

v8::Local<v8::String> StringToV8(std::string strText)
{
    return NewText(v8::Isolate::GetCurrent(), strText);
}

namespace {

void DestroyNative(ScriptBridge* pBridge, void* pNative)
{
    pBridge->destroyFromScript(pNative);
}

// "SCRIPT:LINE:COLUMN" of the innermost script frame, empty without one.
std::string ScriptPosition(v8::Isolate* pIsolate)
{
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::StackTrace> trace = v8::StackTrace::CurrentStackTrace(pIsolate, 1);
    if (trace->GetFrameCount() == 0)
        return std::string();
    v8::Local<v8::StackFrame> frame = Compat::GetFrame(pIsolate, trace, 0);
    v8::Local<v8::String> name = frame->GetScriptName();
    if (name.IsEmpty())
        return std::string();
    return TextOf(pIsolate, name) + ":" + std::to_string(frame->GetLineNumber()) + ":" +
           std::to_string(frame->GetColumn());
}

// The constructor of every bridge class: makes the native and tags the
// wrapper with it and its class.
void ConstructFromScript(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    IsolateData* pData = IsolateData::From(pIsolate);
    if (!info.Data()->IsExternal() || pData == nullptr) {
        ThrowScriptError(pIsolate, ScriptError::ERROR, "the bridge library is not attached to this isolate");
        return;
    }
    CClassRecord* pClass = static_cast<CClassRecord*>(info.Data().As<v8::External>()->Value());
    ScriptBridge* pBridge = pClass->m_pBridge;
    const char* pszClassName = pBridge->getScriptClassName();
    if (!info.IsConstructCall()) {
        ThrowScriptError(pIsolate, ScriptError::TYPE_ERROR,
                         std::string("Class constructor ") + pszClassName + " cannot be invoked without 'new'");
        return;
    }

    // Until the object is tracked: its constructor may say it keeps no run.
    struct CConstruction {
        CObjectRegistry& m_objects;
        explicit CConstruction(CObjectRegistry& objects) : m_objects(objects) { m_objects.BeginConstruct(); }
        ~CConstruction() { m_objects.EndConstruct(); }
    } construction(pData->m_objects);
    void* pNative = nullptr;
    {
        V8Arguments<v8::Value> arguments(info);
        ScriptArray args(&arguments);
        try {
            pNative = pBridge->constructFromScript(args);
        } catch (const ScriptExceptionPending&) {
            return;
        } catch (const KiteException&) {
            // The library's own errors keep their kind and text, as in a
            // method.
            ThrowCaughtInScript(pIsolate);
            return;
        } catch (const std::exception& e) {
            ThrowScriptError(pIsolate, ScriptError::ERROR, std::string(pszClassName) + ": " + e.what());
            return;
        } catch (...) {
            ThrowCaughtInScript(pIsolate, pszClassName);
            return;
        }
    }

    v8::Local<v8::Object> object = info.This();
    object->SetInternalField(0, v8::External::New(pIsolate, pNative));
    object->SetInternalField(1, v8::External::New(pIsolate, pClass));
    if (pNative != nullptr)
        pData->m_objects.Track(pIsolate, object, DestroyNative, pBridge, pNative, pszClassName,
                               ScriptPosition(pIsolate));
}

// The native held in internal field 0; null when the field holds no
// external. Throws for an object whose native was destroyed.
void* NativeInField0(v8::Local<v8::Object> object)
{
    v8::Local<v8::Value> field = object->GetInternalField(0);
    if (!field->IsExternal())
        return nullptr;
    void* pNative = field.As<v8::External>()->Value();
    if (pNative == nullptr)
        throw KiteJsRuntimeException("Attempt to access destroyed JavaScript object.");
    return pNative;
}

}  // namespace

ScriptBridge::ScriptBridge() {}

ScriptBridge::~ScriptBridge() {}

void ScriptBridge::bridgeTo(v8::Local<v8::ObjectTemplate> globalTemplate)
{
    globalTemplate->Set(StringToV8(getScriptClassName()), GetConstructorTemplate());
}

void ScriptBridge::bridgeTo(v8::Local<v8::Object> globalObject)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    v8::Local<v8::Function> constructor;
    // A setter of the global object that throws leaves its exception
    // pending for the host.
    if (Compat::GetFunction(context, GetConstructorTemplate()).ToLocal(&constructor))
        Compat::Set(context, globalObject, StringToV8(getScriptClassName()), constructor);
}

v8::Local<v8::FunctionTemplate> ScriptBridge::GetConstructorTemplate()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    IsolateData* pData = IsolateData::From(pIsolate);
    if (pData == nullptr)
        return v8::FunctionTemplate::New(pIsolate, ConstructFromScript);
    CClassRecord* pClass = pData->registerClass(this);
    if (!pClass->m_constructorTemplate.IsEmpty())
        return pClass->m_constructorTemplate.Get(pIsolate);

    v8::Local<v8::FunctionTemplate> constructor =
        v8::FunctionTemplate::New(pIsolate, ConstructFromScript, v8::External::New(pIsolate, pClass));
    constructor->SetClassName(StringToV8(getScriptClassName()));
    // Field 0: the native; field 1: its class, the tag.
    constructor->InstanceTemplate()->SetInternalFieldCount(2);
    pClass->m_constructorTemplate.Reset(pIsolate, constructor);

    ScriptContext context;
    context.m_hInstanceTemplate = constructor->InstanceTemplate();
    context.m_hPrototypeTemplate = constructor->PrototypeTemplate();
    mapScriptInterface(context);
    return constructor;
}

bool ScriptBridge::tieNativeType(const void* pNativeType)
{
    IsolateData* pData = IsolateData::From(v8::Isolate::GetCurrent());
    return pData != nullptr && pData->registerClass(this)->tieNativeType(pNativeType);
}

void ScriptBridge::RouteCall(const v8::FunctionCallbackInfo<v8::Value>& info, const void* pNativeType, NativeCall call)
{
    // The call's argument adapter lives in this frame: released on every
    // path, exceptions included, and no heap allocation per call.
    V8Arguments<v8::Value> arguments(info);
    try {
        ScriptArray args(&arguments);
        void* pNative = extractTaggedInCall(info.GetIsolate(), info.This(), pNativeType);
        if (pNative == nullptr)
            throw KiteJsRuntimeException("Cannot call native method without object instance");
        NativeCallScope scope(pNative);
        ScriptObject result = call(pNative, args);
        v8::Local<v8::Value> value = result.takeValue(info.GetIsolate());
        if (!value.IsEmpty())
            info.GetReturnValue().Set(value);
    } catch (...) {
        v8::Local<v8::Value> thrown = RaiseCaught(info.GetIsolate(), pNativeType, info.Data());
        if (!thrown.IsEmpty())
            info.GetReturnValue().Set(thrown);
    }
}

v8::Local<v8::Value> ScriptBridge::RaiseCaught(v8::Isolate* pIsolate, const void* pNativeType,
                                               v8::Local<v8::Value> member) noexcept
{
    std::string strWhere = static_cast<const NativeType*>(pNativeType)->m_pszScriptClassName;
    if (!member.IsEmpty() && member->IsString())
        strWhere += "." + TextOf(pIsolate, member.As<v8::String>());
    return ThrowCaughtInScript(pIsolate, strWhere.c_str());
}

void* ScriptBridge::extractRaw(v8::Local<v8::Object> object)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    if (object->InternalFieldCount() < 1)
        return nullptr;
    return NativeInField0(object);
}

void* ScriptBridge::extractTagged(v8::Local<v8::Object> object, const void* pNativeType)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    return extractTaggedInCall(pIsolate, object, pNativeType);
}

void* ScriptBridge::extractTaggedInCall(v8::Isolate* pIsolate, v8::Local<v8::Object> object, const void* pNativeType)
{
    if (object.IsEmpty() || object->InternalFieldCount() < 2)
        return nullptr;
    v8::Local<v8::Value> tag = object->GetInternalField(1);
    if (!tag->IsExternal())
        return nullptr;
    IsolateData* pData = IsolateData::From(pIsolate);
    CClassRecord* pClass = pData != nullptr ? pData->classOfTag(tag.As<v8::External>()->Value()) : nullptr;
    if (pClass == nullptr)
        return nullptr;
    if (pClass->m_pNativeType != pNativeType) {
        // A class not tied by its builder holds the type its plug-in
        // declared for the class's name; the first router to ask for that
        // type ties it.
        const char* pszDeclared = static_cast<const NativeType*>(pNativeType)->m_pszScriptClassName;
        if (pszDeclared == nullptr || std::strcmp(pszDeclared, pClass->m_pBridge->getScriptClassName()) != 0 ||
            !pClass->tieNativeType(pNativeType))
            return nullptr;
    }
    return NativeInField0(object);
}

}  // namespace Bridge
