// A list of script values: the arguments of a call, or a list built in C++.
// As a value (a method's result, a property's value, an element) it is a
// script array of its elements.
#ifndef BRIDGE_SCRIPT_ARRAY_H
#define BRIDGE_SCRIPT_ARRAY_H

#include <vector>

#include "Bridge/Arguments.h"
#include "Bridge/ScriptObject.h"

namespace Bridge {

class ScriptArray : public ScriptObject {
public:
    ScriptArray() : ScriptObject(ListValue()), m_pArguments(nullptr), m_iCount(0), m_first(NoValue()) {}
    // Reads through the given arguments, which it does not own.
    explicit ScriptArray(Arguments* pArguments);
    ScriptArray(const ScriptArray& other);
    ScriptArray& operator=(const ScriptArray& other);
    // Moving hands the elements over without new handles.
    ScriptArray(ScriptArray&& other) noexcept
        : ScriptObject(ListValue()),
          m_pArguments(other.m_pArguments),
          m_iCount(other.m_iCount),
          m_first(std::move(other.m_first)),
          m_rest(std::move(other.m_rest))
    {
        other.m_iCount = 0;
    }
    ScriptArray& operator=(ScriptArray&& other) noexcept;
    virtual ~ScriptArray() {}

    int Length() const;
    // Undefined for an index outside the list.
    ScriptObject get(int iIndex) const;
    // Grows the list as needed; holes read as undefined.
    void set(int iIndex, const ScriptObject& value)
    {
        if (iIndex >= 0)
            slot(iIndex) = value;
    }
    void set(int iIndex, ScriptObject&& value)
    {
        if (iIndex >= 0)
            slot(iIndex) = std::move(value);
    }
    using ScriptObject::set;

private:
    friend class ScriptFunction;  // invoke reads the elements in place
    friend class ScriptObject;    // a value made of a list keeps its elements

    // Elements of a list of its own. The first is kept inline: event
    // callbacks pass one argument, and such a list then needs no heap.
    const ScriptObject& element(int iIndex) const { return iIndex == 0 ? m_first : m_rest[iIndex - 1]; }
    // The element at a non-negative index, the list grown to it. The first
    // element of a list of its own is always there: an event's one argument
    // is set without a call.
    ScriptObject& slot(int iIndex)
    {
        if (iIndex != 0 || m_pArguments != nullptr)
            return grownSlot(iIndex);
        m_iCount = m_iCount > 0 ? m_iCount : 1;
        return m_first;
    }
    ScriptObject& grownSlot(int iIndex);
    void detach();

    Arguments* m_pArguments;
    int m_iCount;
    ScriptObject m_first;
    std::vector<ScriptObject> m_rest;
};

}  // namespace Bridge

#endif
