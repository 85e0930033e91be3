#include "Bridge/ScriptFunction.h"

namespace Bridge {

ScriptFunction::ScriptFunction() : ScriptObject(ScriptObject::Null()) {}

ScriptFunction::ScriptFunction(v8::Local<v8::Function> function)
    : ScriptObject(function.As<v8::Value>()), m_bFunction(!function.IsEmpty() && function->IsFunction())
{
}

ScriptFunction::ScriptFunction(const ScriptFunction& other) : ScriptObject(other), m_bFunction(other.m_bFunction) {}

ScriptFunction& ScriptFunction::operator=(const ScriptFunction& other)
{
    ScriptObject::operator=(other);
    m_bFunction = other.m_bFunction;
    return *this;
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
