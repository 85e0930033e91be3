#include "Bridge/ScriptObject.h"

#include "Bridge/KiteException.h"
#include "Bridge/ScriptBridge.h"
#include "Bridge/ScriptFunction.h"
#include "ScriptContextScope.h"
#include "ScriptKeys.h"
#include "ScriptText.h"

namespace Bridge {

ScriptObject::ScriptObject()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    if (context.valid())
        m_value.Reset(pIsolate, v8::Object::New(pIsolate));
}

ScriptObject::ScriptObject(int iValue)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    m_value.Reset(pIsolate, v8::Integer::New(pIsolate, iValue));
}

ScriptObject::ScriptObject(const std::string& strValue)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    m_value.Reset(pIsolate, StringToV8(strValue));
}

ScriptObject::ScriptObject(v8::Local<v8::Value> value)
{
    if (!value.IsEmpty())
        m_value.Reset(v8::Isolate::GetCurrent(), value);
}

ScriptObject::ScriptObject(NoValue) {}

ScriptObject::ScriptObject(const ScriptObject& other)
{
    if (!other.m_value.IsEmpty())
        m_value.Reset(v8::Isolate::GetCurrent(), other.m_value);
}

ScriptObject& ScriptObject::operator=(const ScriptObject& other)
{
    if (this != &other) {
        if (other.m_value.IsEmpty())
            m_value.Reset();
        else
            m_value.Reset(v8::Isolate::GetCurrent(), other.m_value);
    }
    return *this;
}

ScriptObject::~ScriptObject() {}

ScriptObject ScriptObject::Null()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    return ScriptObject(v8::Null(pIsolate).As<v8::Value>());
}

v8::Local<v8::Value> ScriptObject::getValue() const
{
    if (m_value.IsEmpty())
        return v8::Local<v8::Value>();
    return m_value.Get(v8::Isolate::GetCurrent());
}

void ScriptObject::set(const std::string& strName, const ScriptObject& value)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    if (m_value.IsEmpty() || !context.valid())
        return;
    v8::Local<v8::Value> target = m_value.Get(pIsolate);
    if (!target->IsObject())
        return;
    v8::Local<v8::Value> element = value.m_value.IsEmpty() ? v8::Undefined(pIsolate).As<v8::Value>()
                                                            : value.m_value.Get(pIsolate);
    v8::Maybe<bool> done = target.As<v8::Object>()->Set(context.context(), KeyToV8(pIsolate, strName), element);
    if (done.IsNothing())
        throw ScriptExceptionPending();
}

namespace {

v8::Local<v8::Value> HeldValue(v8::Isolate* pIsolate, const v8::Global<v8::Value>& value)
{
    return value.IsEmpty() ? v8::Local<v8::Value>() : value.Get(pIsolate);
}

// The named property of an object value, or an empty handle when the value
// is not an object.
v8::Local<v8::Value> NamedProperty(v8::Isolate* pIsolate, v8::Local<v8::Context> context,
                                   v8::Local<v8::Value> target, const std::string& strName)
{
    if (target.IsEmpty() || !target->IsObject() || context.IsEmpty())
        return v8::Local<v8::Value>();
    v8::Local<v8::Value> property;
    if (!target.As<v8::Object>()->Get(context, KeyToV8(pIsolate, strName)).ToLocal(&property))
        throw ScriptExceptionPending();
    return property;
}

}  // namespace

bool ScriptObject::tryGetString(const std::string& strName, std::string& strOut) const
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> property = NamedProperty(pIsolate, context.context(), HeldValue(pIsolate, m_value), strName);
    if (property.IsEmpty() || !property->IsString())
        return false;
    strOut = TextOf(pIsolate, property.As<v8::String>());
    return true;
}

bool ScriptObject::tryGetNumber(const std::string& strName, double& dOut) const
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> property = NamedProperty(pIsolate, context.context(), HeldValue(pIsolate, m_value), strName);
    if (property.IsEmpty() || !property->IsNumber())
        return false;
    dOut = property.As<v8::Number>()->Value();
    return true;
}

bool ScriptObject::tryGetBool(const std::string& strName, bool& bOut) const
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> property = NamedProperty(pIsolate, context.context(), HeldValue(pIsolate, m_value), strName);
    if (property.IsEmpty() || !property->IsBoolean())
        return false;
    bOut = property.As<v8::Boolean>()->Value();
    return true;
}

std::string ScriptObject::asString() const
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Value> value = getValue();
    if (value.IsEmpty())
        return std::string();
    if (value->IsString())
        return TextOf(pIsolate, value.As<v8::String>());
    CScriptContextScope context(pIsolate);
    v8::Local<v8::String> text;
    if (!context.valid() || !value->ToString(context.context()).ToLocal(&text))
        throw ScriptExceptionPending();
    return TextOf(pIsolate, text);
}

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
