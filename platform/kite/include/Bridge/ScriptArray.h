// A list of script values: the arguments of a call, or a list built in C++.
#ifndef BRIDGE_SCRIPT_ARRAY_H
#define BRIDGE_SCRIPT_ARRAY_H

#include <vector>

#include "Bridge/Arguments.h"
#include "Bridge/ScriptObject.h"

namespace Bridge {

class ScriptArray : public ScriptObject {
public:
    ScriptArray();
    // Reads through the given arguments, which it does not own.
    explicit ScriptArray(Arguments* pArguments);
    ScriptArray(const ScriptArray& other);
    ScriptArray& operator=(const ScriptArray& other);
    virtual ~ScriptArray();

    int Length() const;
    // Undefined for an index outside the list.
    ScriptObject get(int iIndex) const;
    // Grows the list as needed; holes read as undefined.
    void set(int iIndex, const ScriptObject& value);
    using ScriptObject::set;

private:
    void detach();

    Arguments* m_pArguments;
    std::vector<ScriptObject> m_elements;
};

}  // namespace Bridge

#endif
