#include "PendingObject.h"

#include "Bridge/KiteException.h"
#include "ScriptContextScope.h"
#include "ScriptKeys.h"

namespace Bridge {

bool ScriptObject::CPendingObject::defer(const std::string& strName, const ScriptObject& value)
{
    if (m_bMade || m_iCount == s_iMaxMadeProperties)
        return false;
    new (&sets()[m_iCount]) CSet{strName, value};
    ++m_iCount;
    return true;
}

v8::Local<v8::Value> ScriptObject::CPendingObject::value(v8::Isolate* pIsolate)
{
    if (!m_bMade)
        make(pIsolate);
    return m_object.IsEmpty() ? v8::Local<v8::Value>() : m_object.Get(pIsolate);
}

void ScriptObject::CPendingObject::make(v8::Isolate* pIsolate)
{
    // Made once, also when an assignment throws or a setter asks for this
    // object's value again.
    m_bMade = true;
    v8::HandleScope scope(pIsolate);
    CScriptContextScope context(pIsolate);
    if (!context.valid()) {
        clear();
        return;
    }
    int iCount = m_iCount;
    if (iCount == 0) {
        m_object.Reset(pIsolate, v8::Object::New(pIsolate));
        return;
    }

    // The values only; the names are the maker's own.
    v8::Local<v8::Value> argv[s_iMaxMadeProperties];
    const std::string* apNames[s_iMaxMadeProperties];
    for (int i = 0; i < iCount; ++i) {
        const CSet& set = sets()[i];
        v8::Local<v8::Value> element = set.m_value.valueIn(pIsolate);
        apNames[i] = &set.m_strName;
        argv[i] = element.IsEmpty() ? v8::Undefined(pIsolate).As<v8::Value>() : element;
    }
    v8::Local<v8::Function> maker = ObjectMaker(pIsolate, context.context(), apNames, iCount);
    if (!maker.IsEmpty()) {
        clear();
        v8::Local<v8::Value> made;
        if (!maker->Call(context.context(), v8::Undefined(pIsolate), iCount, argv).ToLocal(&made))
            throw ScriptExceptionPending();
        m_object.Reset(pIsolate, made);
        return;
    }
    v8::Local<v8::Object> object = v8::Object::New(pIsolate);
    m_object.Reset(pIsolate, object);
    for (int i = 0; i < iCount; ++i) {
        v8::Local<v8::String> key = KeyToV8(pIsolate, *apNames[i]);
        if (object->Set(context.context(), key, argv[i]).IsNothing()) {
            clear();
            throw ScriptExceptionPending();
        }
    }
    clear();
}

void ScriptObject::CPendingObject::clear()
{
    CSet* aSets = sets();
    for (int i = 0; i < m_iCount; ++i)
        aSets[i].~CSet();
    m_iCount = 0;
}

}  // namespace Bridge
