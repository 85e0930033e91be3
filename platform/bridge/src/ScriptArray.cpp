#include "Bridge/ScriptArray.h"

#include <utility>

#include "Bridge/ScriptExceptionPending.h"
#include "IsolateData.h"

namespace Bridge {

ScriptArray::ScriptArray(Arguments* pArguments)
    : ScriptObject(ListValue()), m_pArguments(pArguments), m_iCount(0), m_first(NoValue())
{
}

ScriptArray::ScriptArray(const ScriptArray& other)
    : ScriptObject(ListValue()),
      m_pArguments(other.m_pArguments),
      m_iCount(other.m_iCount),
      m_first(other.m_first),
      m_rest(other.m_rest)
{
}

ScriptArray& ScriptArray::operator=(const ScriptArray& other)
{
    if (this != &other) {
        m_pArguments = other.m_pArguments;
        m_iCount = other.m_iCount;
        m_first = other.m_first;
        m_rest = other.m_rest;
    }
    return *this;
}

ScriptArray& ScriptArray::operator=(ScriptArray&& other) noexcept
{
    if (this != &other) {
        m_pArguments = other.m_pArguments;
        m_iCount = other.m_iCount;
        m_first = std::move(other.m_first);
        m_rest = std::move(other.m_rest);
        other.m_iCount = 0;
    }
    return *this;
}

int ScriptArray::Length() const
{
    if (m_pArguments != nullptr)
        return m_pArguments->Length();
    return m_iCount;
}

// No handle scope needed: call arguments and undefined are read in place,
// without new handles.
ScriptObject ScriptArray::get(int iIndex) const
{
    if (m_pArguments != nullptr)
        return ScriptObject((*m_pArguments)[iIndex]);
    if (iIndex < 0 || iIndex >= m_iCount || element(iIndex).isEmpty())
        return ScriptObject(v8::Undefined(v8::Isolate::GetCurrent()).As<v8::Value>());
    return element(iIndex);
}

// slot's other cases: a list over call arguments, or another index.
ScriptObject& ScriptArray::grownSlot(int iIndex)
{
    if (m_pArguments != nullptr)
        detach();
    if (iIndex >= m_iCount) {
        // The first element is always there: a list of one needs no filler.
        if (iIndex > 0)
            m_rest.resize(static_cast<std::size_t>(iIndex), ScriptObject(NoValue()));
        m_iCount = iIndex + 1;
    }
    return iIndex == 0 ? m_first : m_rest[iIndex - 1];
}

// A list over call arguments becomes a list of its own before it changes,
// since the arguments belong to the call. Only for such a list.
void ScriptArray::detach()
{
    Arguments* pArguments = m_pArguments;
    m_pArguments = nullptr;
    int iLength = pArguments->Length();
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    m_iCount = iLength;
    m_first = iLength > 0 ? ScriptObject((*pArguments)[0]) : ScriptObject(v8::Local<v8::Value>());
    m_rest.clear();
    if (iLength > 1)
        m_rest.reserve(static_cast<std::size_t>(iLength) - 1);
    for (int i = 1; i < iLength; ++i)
        m_rest.push_back(ScriptObject((*pArguments)[i]));
}

// How a plain ScriptObject holds a list: here, beside the list, so that
// the values below need nothing of it.
const ScriptArray& ScriptObject::list() const
{
    return m_pList != nullptr ? *m_pList : static_cast<const ScriptArray&>(*this);
}

void ScriptObject::takeList(ScriptObject& other) noexcept
{
    if (other.m_pList != nullptr) {
        m_pList = other.m_pList;
        other.m_pList = nullptr;
    } else {
        // The source is a ScriptArray, and stays one.
        m_pList = new ScriptArray(std::move(static_cast<ScriptArray&>(other)));
        other.m_eKind = KIND_LIST;
        ownElements(*m_pList);
    }
}

// A value may outlive the call whose arguments a list reads: it keeps
// them.
void ScriptObject::ownElements(ScriptArray& list)
{
    if (list.m_pArguments != nullptr)
        list.detach();
}

void ScriptObject::dropList()
{
    delete m_pList;
    m_pList = nullptr;
}

void ScriptObject::copyList(const ScriptObject& other)
{
    ScriptArray* pCopy = new ScriptArray(other.list());
    ownElements(*pCopy);
    if (m_pFresh != nullptr)
        dropFresh();
    if (m_pList != nullptr)
        dropList();
    m_eKind = KIND_LIST;
    m_pList = pCopy;
    m_strValue.clear();
    m_value.Reset();
}

// A new array of the list's elements, in the caller's handle scope; empty
// without a context.
v8::Local<v8::Value> ScriptObject::arrayIn(v8::Isolate* pIsolate) const
{
    CScriptContextScope context(pIsolate);
    if (!context.valid())
        return v8::Local<v8::Value>();
    const ScriptArray& elements = list();
    const int iLength = elements.Length();
    v8::Local<v8::Array> array = v8::Array::New(pIsolate, iLength);
    for (int i = 0; i < iLength; ++i) {
        v8::Local<v8::Value> element = elements.get(i).valueIn(pIsolate);
        if (element.IsEmpty())
            element = v8::Undefined(pIsolate);
        if (!Compat::CreateDataProperty(context.context(), array, static_cast<std::uint32_t>(i), element))
            throw ScriptExceptionPending();
    }
    return array;
}

}  // namespace Bridge
