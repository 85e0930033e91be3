#include "Bridge/ScriptArray.h"

namespace Bridge {

ScriptArray::ScriptArray() : ScriptObject(NoValue()), m_pArguments(nullptr) {}

ScriptArray::ScriptArray(Arguments* pArguments)
    : ScriptObject(NoValue()), m_pArguments(pArguments)
{
}

ScriptArray::ScriptArray(const ScriptArray& other)
    : ScriptObject(other), m_pArguments(other.m_pArguments), m_elements(other.m_elements)
{
}

ScriptArray& ScriptArray::operator=(const ScriptArray& other)
{
    if (this != &other) {
        ScriptObject::operator=(other);
        m_pArguments = other.m_pArguments;
        m_elements = other.m_elements;
    }
    return *this;
}

ScriptArray::~ScriptArray() {}

int ScriptArray::Length() const
{
    if (m_pArguments != nullptr)
        return m_pArguments->Length();
    return static_cast<int>(m_elements.size());
}

ScriptObject ScriptArray::get(int iIndex) const
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    if (m_pArguments != nullptr)
        return ScriptObject((*m_pArguments)[iIndex]);
    if (iIndex < 0 || iIndex >= static_cast<int>(m_elements.size()) || m_elements[iIndex].isEmpty())
        return ScriptObject(v8::Undefined(pIsolate).As<v8::Value>());
    return m_elements[iIndex];
}

void ScriptArray::set(int iIndex, const ScriptObject& value)
{
    if (iIndex < 0)
        return;
    detach();
    if (iIndex >= static_cast<int>(m_elements.size()))
        m_elements.resize(static_cast<std::size_t>(iIndex) + 1, ScriptObject(v8::Local<v8::Value>()));
    m_elements[iIndex] = value;
}

// A list over call arguments becomes a list of its own before it changes,
// since the arguments belong to the call.
void ScriptArray::detach()
{
    if (m_pArguments == nullptr)
        return;
    Arguments* pArguments = m_pArguments;
    m_pArguments = nullptr;
    int iLength = pArguments->Length();
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    m_elements.clear();
    m_elements.reserve(static_cast<std::size_t>(iLength));
    for (int i = 0; i < iLength; ++i)
        m_elements.push_back(ScriptObject((*pArguments)[i]));
}

}  // namespace Bridge
