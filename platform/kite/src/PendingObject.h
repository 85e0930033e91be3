// A new object whose script value nobody has seen yet, with the properties
// set on it meanwhile.
//
// Made, and its properties assigned in the order they were set, the first
// time its value is needed: one call of a script function (ObjectMakers.h)
// instead of one trip through V8's runtime per property. When an assignment
// throws, the exception goes to whoever asked for the value and the object
// is lost to C++: the value stays empty.
#ifndef BRIDGE_PENDING_OBJECT_H
#define BRIDGE_PENDING_OBJECT_H

#include <new>
#include <string>

#include "Bridge/ScriptObject.h"
#include "ObjectMakers.h"

namespace Bridge {

struct ScriptObject::CPendingObject {
    CPendingObject() {}
    ~CPendingObject() { clear(); }
    CPendingObject(const CPendingObject&) = delete;
    CPendingObject& operator=(const CPendingObject&) = delete;

    // Keeps the assignment for later; false when it must be done now (the
    // object is made, or holds as many as one function assigns).
    bool defer(const std::string& strName, const ScriptObject& value);

    // The object in the caller's handle scope, made on the first call; empty
    // when no context was usable then. Raises ScriptExceptionPending when an
    // assignment throws (once; empty afterwards).
    v8::Local<v8::Value> value(v8::Isolate* pIsolate);

    int m_iRefs = 1;

private:
    struct CSet {
        std::string m_strName;
        ScriptObject m_value;
    };

    void make(v8::Isolate* pIsolate);
    CSet* sets() { return std::launder(reinterpret_cast<CSet*>(m_aStorage)); }
    void clear();

    bool m_bMade = false;
    int m_iCount = 0;
    v8::Global<v8::Value> m_object;  // once made
    // Built in place as set, so an object with few properties costs one
    // allocation.
    alignas(CSet) unsigned char m_aStorage[s_iMaxMadeProperties * sizeof(CSet)];
};

}  // namespace Bridge

#endif
