#include "Bridge/ScriptObject.h"

#include <utility>

#include "Bridge/KiteException.h"
#include "IsolateData.h"
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

ScriptObject::ScriptObject(int iValue) : m_eKind(KIND_INT), m_iValue(iValue) {}

ScriptObject::ScriptObject(const std::string& strValue) : m_eKind(KIND_TEXT), m_strValue(strValue) {}

ScriptObject::ScriptObject(v8::Local<v8::Value> value)
{
    if (value.IsEmpty())
        return;
    if (value->IsUndefined())
        m_eKind = KIND_UNDEFINED;
    else if (value->IsNull())
        m_eKind = KIND_NULL;
    else
        m_value.Reset(v8::Isolate::GetCurrent(), value);
}

ScriptObject::ScriptObject(const ScriptObject& other)
{
    copyFrom(other);
}

ScriptObject& ScriptObject::operator=(const ScriptObject& other)
{
    if (this != &other)
        copyFrom(other);
    return *this;
}

void ScriptObject::copyFrom(const ScriptObject& other)
{
    m_eKind = other.m_eKind;
    m_iValue = other.m_iValue;
    m_strValue = other.m_strValue;
    if (other.m_value.IsEmpty())
        m_value.Reset();
    else
        m_value.Reset(v8::Isolate::GetCurrent(), other.m_value);
}

ScriptObject ScriptObject::Null()
{
    ScriptObject null{NoValue()};
    null.m_eKind = KIND_NULL;
    return null;
}

v8::Local<v8::Value> ScriptObject::getValue() const
{
    if (m_eKind == KIND_HANDLE)
        return m_value.IsEmpty() ? v8::Local<v8::Value>() : m_value.Get(v8::Isolate::GetCurrent());
    return valueIn(v8::Isolate::GetCurrent());
}

v8::Local<v8::Value> ScriptObject::valueIn(v8::Isolate* pIsolate) const
{
    switch (m_eKind) {
    case KIND_UNDEFINED:
        return v8::Undefined(pIsolate);
    case KIND_NULL:
        return v8::Null(pIsolate);
    case KIND_INT:
        return v8::Integer::New(pIsolate, m_iValue);
    case KIND_TEXT: {
        // As StringToV8: a text beyond V8's string limit becomes empty.
        // Plain ASCII (an event's number, most texts) needs no UTF-8 decoding.
        const char* pszText = m_strValue.data();
        int iLength = static_cast<int>(m_strValue.size());
        unsigned char uBits = 0;
        for (unsigned char c : m_strValue)
            uBits |= c;
        v8::MaybeLocal<v8::String> text =
            uBits < 0x80 ? v8::String::NewFromOneByte(pIsolate, reinterpret_cast<const uint8_t*>(pszText),
                                                v8::NewStringType::kNormal, iLength)
                   : v8::String::NewFromUtf8(pIsolate, pszText, v8::NewStringType::kNormal, iLength);
        return text.FromMaybe(v8::String::Empty(pIsolate));
    }
    case KIND_HANDLE:
        break;
    }
    return m_value.IsEmpty() ? v8::Local<v8::Value>() : m_value.Get(pIsolate);
}

void ScriptObject::set(const std::string& strName, const ScriptObject& value)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    // Only a handle can hold an object.
    if (m_eKind != KIND_HANDLE || m_value.IsEmpty() || !context.valid())
        return;
    v8::Local<v8::Value> target = m_value.Get(pIsolate);
    if (!target->IsObject())
        return;
    v8::Local<v8::Value> element = value.valueIn(pIsolate);
    if (element.IsEmpty())
        element = v8::Undefined(pIsolate);
    v8::Maybe<bool> done = target.As<v8::Object>()->Set(context.context(), KeyToV8(pIsolate, strName), element);
    if (done.IsNothing())
        throw ScriptExceptionPending();
}

namespace {

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
    if (m_eKind != KIND_HANDLE)
        return false;  // only a handle can hold an object
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> property = NamedProperty(pIsolate, context.context(), valueIn(pIsolate), strName);
    if (property.IsEmpty() || !property->IsString())
        return false;
    strOut = TextOf(pIsolate, property.As<v8::String>());
    return true;
}

bool ScriptObject::tryGetNumber(const std::string& strName, double& dOut) const
{
    if (m_eKind != KIND_HANDLE)
        return false;  // only a handle can hold an object
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> property = NamedProperty(pIsolate, context.context(), valueIn(pIsolate), strName);
    if (property.IsEmpty() || !property->IsNumber())
        return false;
    dOut = property.As<v8::Number>()->Value();
    return true;
}

bool ScriptObject::tryGetBool(const std::string& strName, bool& bOut) const
{
    if (m_eKind != KIND_HANDLE)
        return false;  // only a handle can hold an object
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    v8::Local<v8::Value> property = NamedProperty(pIsolate, context.context(), valueIn(pIsolate), strName);
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

}  // namespace Bridge
