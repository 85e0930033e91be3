#include "Bridge/ScriptFunction.h"

#include "IsolateData.h"

namespace Bridge {

ScriptFunction::ScriptFunction() : ScriptObject(ScriptObject::Null()) {}

ScriptFunction::ScriptFunction(v8::Local<v8::Function> function)
    : ScriptObject(function.As<v8::Value>()), m_bFunction(!function.IsEmpty() && function->IsFunction())
{
    if (!m_bFunction)
        return;
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    IsolateData* pData = pIsolate != nullptr ? IsolateData::From(pIsolate) : nullptr;
    if (pData != nullptr && pData->m_callbackHanded != nullptr)
        pData->m_callbackHanded(pIsolate, function);
}

ScriptFunction::ScriptFunction(const ScriptFunction& other) : ScriptObject(other), m_bFunction(other.m_bFunction)
{
    if (other.isWeak())
        m_value.SetWeak();
}

ScriptFunction& ScriptFunction::operator=(const ScriptFunction& other)
{
    if (this == &other)
        return *this;
    ScriptObject::operator=(other);
    m_bFunction = other.m_bFunction;
    if (other.isWeak())
        m_value.SetWeak();
    return *this;
}

ScriptFunction ScriptFunction::weak() const
{
    ScriptFunction copy(*this);
    // A primitive cannot be collected, nor can it reach its object.
    if (copy.m_bFunction && copy.m_eKind == KIND_HANDLE && !copy.m_value.IsEmpty() && !copy.m_value.IsWeak())
        copy.m_value.SetWeak();
    return copy;
}

ScriptFunction ScriptFunction::strong() const
{
    ScriptFunction copy(*this);
    if (copy.m_value.IsWeak())
        copy.m_value.ClearWeak();
    return copy;
}

bool ScriptFunction::isWeak() const
{
    return m_eKind == KIND_HANDLE && !m_value.IsEmpty() && m_value.IsWeak();
}

ScriptFunction::~ScriptFunction() {}

// Here rather than with ScriptObject, which knows no function.
ScriptFunction ScriptObject::asFunction() const
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Value> value = getValue();
    if (value.IsEmpty())
        return ScriptFunction();
    return ScriptFunction(value.As<v8::Function>());
}

}  // namespace Bridge
