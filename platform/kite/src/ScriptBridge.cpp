#include "Bridge/ScriptBridge.h"

#include "Bridge/ScriptText.h"
#include "ObjectRegistry.h"

namespace Bridge {

v8::Local<v8::String> StringToV8(std::string strText)
{
    return NewText(v8::Isolate::GetCurrent(), strText);
}

namespace {

// "SCRIPT:LINE:COLUMN" of the innermost script frame, empty without one.
std::string ScriptPosition(v8::Isolate* pIsolate)
{
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::StackTrace> trace = v8::StackTrace::CurrentStackTrace(pIsolate, 1);
    if (trace->GetFrameCount() == 0)
        return std::string();
    v8::Local<v8::StackFrame> frame = trace->GetFrame(pIsolate, 0);
    v8::Local<v8::String> name = frame->GetScriptName();
    if (name.IsEmpty())
        return std::string();
    return TextOf(pIsolate, name) + ":" + std::to_string(frame->GetLineNumber()) + ":" +
           std::to_string(frame->GetColumn());
}

// The constructor of every bridge class: makes the native and tags the
// wrapper with it.
void ConstructFromScript(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    ScriptBridge* pBridge = static_cast<ScriptBridge*>(info.Data().As<v8::External>()->Value());
    const char* pszClassName = pBridge->getScriptClassName();
    if (!info.IsConstructCall()) {
        ThrowScriptError(pIsolate, ScriptError::TYPE_ERROR,
                         std::string("Class constructor ") + pszClassName + " cannot be invoked without 'new'");
        return;
    }

    void* pNative = nullptr;
    {
        V8Arguments<v8::Value> arguments(info);
        ScriptArray args(&arguments);
        try {
            pNative = pBridge->constructFromScript(args);
        } catch (const ScriptExceptionPending&) {
            return;
        } catch (const std::exception& e) {
            ThrowScriptError(pIsolate, ScriptError::ERROR, std::string(pszClassName) + ": " + e.what());
            return;
        }
    }

    v8::Local<v8::Object> object = info.This();
    object->SetInternalField(0, v8::External::New(pIsolate, pNative));
    object->SetInternalField(
        1, v8::External::New(pIsolate, const_cast<void*>(NativeClassRegistry::Lookup(pszClassName))));
    if (pNative != nullptr)
        CObjectRegistry::Track(pIsolate, object, pBridge, pNative, ScriptPosition(pIsolate));
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

ScriptBridge::~ScriptBridge()
{
    // Empty once the engine has detached; the engine resets them before
    // the isolate goes away.
    m_constructor.Reset();
    m_constructorTemplate.Reset();
}

void ScriptBridge::bridgeTo(v8::Local<v8::ObjectTemplate> globalTemplate)
{
    globalTemplate->Set(StringToV8(getScriptClassName()), GetConstructorTemplate());
}

void ScriptBridge::bridgeTo(v8::Local<v8::Object> globalObject)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    v8::Local<v8::Function> constructor;
    if (GetConstructorTemplate()->GetFunction(context).ToLocal(&constructor))
        globalObject->Set(context, StringToV8(getScriptClassName()), constructor).Check();
}

v8::Local<v8::FunctionTemplate> ScriptBridge::GetConstructorTemplate()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    if (!m_constructorTemplate.IsEmpty())
        return m_constructorTemplate.Get(pIsolate);

    v8::Local<v8::FunctionTemplate> constructor =
        v8::FunctionTemplate::New(pIsolate, ConstructFromScript, v8::External::New(pIsolate, this));
    constructor->SetClassName(StringToV8(getScriptClassName()));
    // Field 0: the native; field 1: the tag of its native type.
    constructor->InstanceTemplate()->SetInternalFieldCount(2);
    m_constructorTemplate.Reset(pIsolate, constructor);

    ScriptContext context;
    context.m_hInstanceTemplate = constructor->InstanceTemplate();
    context.m_hPrototypeTemplate = constructor->PrototypeTemplate();
    mapScriptInterface(context);
    return constructor;
}

void ScriptBridge::resetHandles()
{
    m_constructor.Reset();
    m_constructorTemplate.Reset();
}

void* ScriptBridge::extractRaw(v8::Local<v8::Object> object)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    if (object->InternalFieldCount() < 1)
        return nullptr;
    return NativeInField0(object);
}

void* ScriptBridge::extractTagged(v8::Local<v8::Object> object, const void* pTag)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    return extractTaggedInCall(object, pTag);
}

void* ScriptBridge::extractTaggedInCall(v8::Local<v8::Object> object, const void* pTag)
{
    if (object.IsEmpty() || object->InternalFieldCount() < 2)
        return nullptr;
    v8::Local<v8::Value> tag = object->GetInternalField(1);
    if (!tag->IsExternal() || tag.As<v8::External>()->Value() != pTag)
        return nullptr;
    return NativeInField0(object);
}

}  // namespace Bridge
