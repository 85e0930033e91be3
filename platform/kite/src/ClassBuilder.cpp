#include "Bridge/ClassBuilder.h"

#include "Bridge/Converter.h"

namespace Bridge {

ClassBuilderBase::ClassBuilderBase(ScriptBridge& bridge, ScriptBridge::ScriptContext& context,
                                   const void* pNativeType)
    : m_pIsolate(v8::Isolate::GetCurrent()), m_context(context)
{
    bridge.tieNativeType(pNativeType);
}

void ClassBuilderBase::addMethod(const char* pszName, v8::FunctionCallback router)
{
    // The router's data names the method in what it raises.
    v8::Local<v8::String> name = NewText(m_pIsolate, pszName);
    m_context.m_hPrototypeTemplate->Set(name, v8::FunctionTemplate::New(m_pIsolate, router, name), v8::None);
}

void ClassBuilderBase::addCallback(const char* pszName, v8::AccessorSetterCallback setter)
{
    m_context.m_hInstanceTemplate->SetAccessor(NewText(m_pIsolate, pszName), nullptr, setter);
}

}  // namespace Bridge
