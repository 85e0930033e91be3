#include "Bridge/ScriptObject.h"

#include <utility>

#include "Bridge/Converter.h"
#include "Bridge/ScriptExceptionPending.h"
#include "IsolateData.h"

namespace Bridge {

// The first properties a fresh object is given, in order.
struct ScriptObject::Fresh {
    static const int s_iMax = 3;  // as many as a query's result has
    int m_iCount = 0;
    std::string m_aNames[s_iMax];
    ScriptObject m_aValues[s_iMax] = {ScriptObject(NoValue()), ScriptObject(NoValue()), ScriptObject(NoValue())};
};

ScriptObject::ScriptObject() : m_eKind(KIND_FRESH) {}

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

ScriptObject ScriptObject::Boolean(bool bValue)
{
    ScriptObject value{NoValue()};
    value.m_eKind = KIND_BOOL;
    value.m_iValue = bValue ? 1 : 0;
    return value;
}

ScriptObject ScriptObject::Number(double dValue)
{
    ScriptObject value{NoValue()};
    value.m_eKind = KIND_NUMBER;
    value.m_dValue = dValue;
    return value;
}

ScriptObject ScriptObject::Integer(std::int64_t llValue)
{
    return Number(Converter<std::int64_t>::Exact(llValue));
}

void ScriptObject::copyFrom(const ScriptObject& other)
{
    if (other.m_eKind == KIND_LIST) {
        copyList(other);
        return;
    }
    if (m_pList != nullptr)
        dropList();
    // A value kept by value is copied without the isolate: results and
    // argument lists are mostly made of them.
    if (other.m_eKind != KIND_HANDLE && other.m_eKind != KIND_FRESH && m_pFresh == nullptr) {
        m_eKind = other.m_eKind;
        m_iValue = other.m_iValue;
        m_dValue = other.m_dValue;
        if (m_eKind == KIND_TEXT)
            m_strValue = other.m_strValue;
        else
            m_strValue.clear();
        m_value.Reset();
        return;
    }
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    if (other.m_eKind == KIND_FRESH) {
        // Both must hold the same object.
        v8::HandleScope scope(pIsolate);
        other.make(pIsolate);
    }
    if (m_pFresh != nullptr)
        dropFresh();
    m_eKind = other.m_eKind;
    m_iValue = other.m_iValue;
    m_dValue = other.m_dValue;
    m_strValue = other.m_strValue;
    if (other.m_value.IsEmpty())
        m_value.Reset();
    else
        m_value.Reset(pIsolate, other.m_value);
}

v8::Local<v8::Value> ScriptObject::make(v8::Isolate* pIsolate) const
{
    v8::Local<v8::Value> object = build(pIsolate);
    if (m_eKind == KIND_HANDLE && !object.IsEmpty())
        m_value.Reset(pIsolate, object);
    return object;
}

v8::Local<v8::Value> ScriptObject::build(v8::Isolate* pIsolate) const
{
    CScriptContextScope context(pIsolate);
    if (!context.valid())
        return v8::Local<v8::Value>();
    v8::Local<v8::Object> object;
    if (m_pFresh == nullptr) {
        object = v8::Object::New(pIsolate);
    } else {
        v8::Local<v8::Value> aValues[Fresh::s_iMax];
        for (int i = 0; i < m_pFresh->m_iCount; ++i) {
            aValues[i] = m_pFresh->m_aValues[i].valueIn(pIsolate);
            if (aValues[i].IsEmpty())
                aValues[i] = v8::Undefined(pIsolate);
        }
        object = NewObjectWith(pIsolate, context.context(), m_pFresh->m_aNames, aValues, m_pFresh->m_iCount);
        dropFresh();
    }
    m_value.Reset();
    m_eKind = KIND_HANDLE;
    return object;
}

void ScriptObject::dropFresh() const
{
    // The block is kept for the isolate's next fresh object, emptied of
    // the values that hold script objects.
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    IsolateData* pData = pIsolate != nullptr ? IsolateData::From(pIsolate) : nullptr;
    if (pData != nullptr && !pData->m_pSpareBlock) {
        for (int i = 0; i < m_pFresh->m_iCount; ++i)
            m_pFresh->m_aValues[i].m_value.Reset();
        m_pFresh->m_iCount = 0;
        pData->m_pSpareBlock = std::unique_ptr<void, void (*)(void*)>(
            m_pFresh, [](void* pBlock) { delete static_cast<Fresh*>(pBlock); });
    } else {
        delete m_pFresh;
    }
    m_pFresh = nullptr;
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
        return Converter<int>::To(pIsolate, m_iValue);
    case KIND_BOOL:
        return Converter<bool>::To(pIsolate, m_iValue != 0);
    case KIND_NUMBER:
        return Converter<double>::To(pIsolate, m_dValue);
    case KIND_LIST:
        return arrayIn(pIsolate);
    case KIND_TEXT:
        return Converter<std::string>::To(pIsolate, m_strValue);
    case KIND_FRESH:
        return make(pIsolate);
    case KIND_HANDLE:
        break;
    }
    return m_value.IsEmpty() ? v8::Local<v8::Value>() : m_value.Get(pIsolate);
}

void ScriptObject::set(const std::string& strName, const ScriptObject& value)
{
    if (m_eKind == KIND_FRESH) {
        if (m_pFresh == nullptr) {
            v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
            IsolateData* pData = pIsolate != nullptr ? IsolateData::From(pIsolate) : nullptr;
            m_pFresh = pData != nullptr && pData->m_pSpareBlock ? static_cast<Fresh*>(pData->m_pSpareBlock.release())
                                                                 : new Fresh();
        }
        if (m_pFresh->m_iCount < Fresh::s_iMax) {
            // A kept block mostly holds the same names already.
            std::string& strSlot = m_pFresh->m_aNames[m_pFresh->m_iCount];
            if (strSlot != strName)
                strSlot = strName;
            m_pFresh->m_aValues[m_pFresh->m_iCount] = value;
            ++m_pFresh->m_iCount;
            return;
        }
    }
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Value> target = m_eKind == KIND_FRESH ? make(pIsolate) : valueIn(pIsolate);
    // Only a handle can hold an object.
    if (m_eKind != KIND_HANDLE || target.IsEmpty() || !target->IsObject())
        return;
    CScriptContextScope context(pIsolate);
    if (!context.valid())
        return;
    v8::Local<v8::Value> element = value.valueIn(pIsolate);
    if (element.IsEmpty())
        element = v8::Undefined(pIsolate);
    if (!Compat::CreateDataProperty(context.context(), target.As<v8::Object>(), KeyToV8(pIsolate, strName), element))
        throw ScriptExceptionPending();
}

// Only a handle can hold an object; a value that is none reads no property.
// A getter or proxy trap that throws raises ScriptExceptionPending.
template <typename T>
bool ScriptObject::tryGet(const std::string& strName, T& out) const
{
    if (m_eKind != KIND_HANDLE && m_eKind != KIND_FRESH)
        return false;
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Value> target = valueIn(pIsolate);
    if (target.IsEmpty() || !target->IsObject())
        return false;
    CScriptContextScope context(pIsolate);
    if (!context.valid())
        return false;
    v8::Local<v8::Value> property;
    if (!Compat::Get(context.context(), target.As<v8::Object>(), KeyToV8(pIsolate, strName)).ToLocal(&property))
        throw ScriptExceptionPending();
    return Converter<T>::From(pIsolate, property, out);
}

bool ScriptObject::tryGetString(const std::string& strName, std::string& strOut) const
{
    return tryGet(strName, strOut);
}

bool ScriptObject::tryGetNumber(const std::string& strName, double& dOut) const
{
    return tryGet(strName, dOut);
}

bool ScriptObject::tryGetBool(const std::string& strName, bool& bOut) const
{
    return tryGet(strName, bOut);
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
    if (!context.valid() || !Compat::ToString(context.context(), value).ToLocal(&text))
        throw ScriptExceptionPending();
    return TextOf(pIsolate, text);
}

}  // namespace Bridge
