// A script value held beyond any handle scope.
//
// Objects and functions are held through a persistent handle. Numbers,
// booleans, strings made from text, undefined and null are kept by value
// and become script values only when asked for: they are what most lists of
// arguments and results hold, and a persistent handle made and dropped for
// each of them costs more than the value itself. A ScriptArray held as a
// ScriptObject (a method's result, a property's value) keeps its elements
// and becomes a script array.
//
// The constructors from C++ values take an int: a bool or a double given to
// them is converted to int first (true gives 1, 3.7 gives 3). Boolean,
// Number and Integer make the value as it is.
#ifndef BRIDGE_SCRIPT_OBJECT_H
#define BRIDGE_SCRIPT_OBJECT_H

#include <cstdint>
#include <string>
#include <utility>
#include <v8.h>

#include "Bridge/Converter.h"
#include "Bridge/V8Compat.h"

namespace Bridge {

class ScriptArray;
class ScriptFunction;

// Usable on the script thread, inside a V8 callback or from the main loop:
// operations that need a context use the current one, or the engine's.
class ScriptObject {
public:
    ScriptObject();                            // a new object without properties
    ScriptObject(int iValue);                  // a number
    ScriptObject(const std::string& strValue); // a string; embedded zero bytes are kept
    ScriptObject(std::string&& strValue)       // the same, taking the text over
        : m_eKind(KIND_TEXT), m_strValue(std::move(strValue))
    {
    }
    ScriptObject(v8::Local<v8::Value> value);  // an existing value; an empty handle stays empty
    // A ScriptArray's elements are copied; they become a script array when
    // the value is needed.
    ScriptObject(const ScriptObject& other);
    ScriptObject& operator=(const ScriptObject& other);
    // Moving hands the held value over without a new handle; the source is
    // left empty. Inline: event delivery moves a text through a list and a
    // call for every event.
    ScriptObject(ScriptObject&& other) noexcept
        : m_eKind(other.m_eKind),
          m_iValue(other.m_iValue),
          m_dValue(other.m_dValue),
          m_value(std::move(other.m_value)),
          m_pFresh(other.m_pFresh)
    {
        other.m_pFresh = nullptr;
        takeText(other);
        if (m_eKind == KIND_LIST)
            takeList(other);
    }
    ScriptObject& operator=(ScriptObject&& other) noexcept
    {
        if (this != &other) {
            if (m_pFresh != nullptr)
                dropFresh();
            if (m_pList != nullptr)
                dropList();
            m_eKind = other.m_eKind;
            m_iValue = other.m_iValue;
            m_dValue = other.m_dValue;
            m_value = std::move(other.m_value);
            m_pFresh = other.m_pFresh;
            other.m_pFresh = nullptr;
            takeText(other);
            if (m_eKind == KIND_LIST)
                takeList(other);
        }
        return *this;
    }
    virtual ~ScriptObject()
    {
        if (m_pFresh != nullptr)
            dropFresh();
        if (m_pList != nullptr)
            dropList();
    }

    static ScriptObject Null();
    static ScriptObject Boolean(bool bValue);
    static ScriptObject Number(double dValue);
    // A Number; throws ScriptError RANGE_ERROR beyond ±(2^53 - 1), where
    // a Number would round it.
    static ScriptObject Integer(std::int64_t llValue);

    // A handle in the caller's handle scope; empty when nothing is held.
    v8::Local<v8::Value> getValue() const;
    bool isEmpty() const { return m_eKind == KIND_HANDLE && m_value.IsEmpty(); }
    // getValue for the last use of this value (a method's result, say): a
    // new object not made yet is made without being held, so this is not
    // asked for it again.
    v8::Local<v8::Value> takeValue(v8::Isolate* pIsolate)
    {
        return m_eKind == KIND_FRESH ? build(pIsolate) : valueIn(pIsolate);
    }

    // Defines a named own data property when the held value is an object,
    // as an object literal does: no setter, on the object or its prototypes,
    // sees it.
    void set(const std::string& strName, const ScriptObject& value);

    // Write the named property into the output and return true when the held
    // value is an object whose property has the asked type; otherwise return
    // false and leave the output untouched. A getter or proxy trap that throws
    // raises ScriptExceptionPending.
    bool tryGetString(const std::string& strName, std::string& strOut) const;
    bool tryGetNumber(const std::string& strName, double& dOut) const;
    bool tryGetBool(const std::string& strName, bool& bOut) const;

    // The value's text (a string as it is, anything else through ToString).
    std::string asString() const;
    ScriptFunction asFunction() const;

protected:
    struct NoValue {};
    explicit ScriptObject(NoValue) {}
    // The ScriptObject part of a ScriptArray, which holds the elements.
    struct ListValue {};
    explicit ScriptObject(ListValue) : m_eKind(KIND_LIST) {}

    // getValue with the isolate at hand.
    v8::Local<v8::Value> valueIn(v8::Isolate* pIsolate) const;

private:
    friend class ScriptArray;     // holds elements made without a value
    friend class ScriptFunction;  // invoke reads arguments with the isolate at hand

    // KIND_FRESH: a new object not made yet. Its first properties are
    // kept here and the object is made with them in one step when first
    // needed, which costs a fraction of adding them one by one.
    // KIND_LIST: a list, in the ScriptArray this is part of, or in
    // m_pList when a ScriptArray was copied into a plain ScriptObject.
    enum EKind : unsigned char {
        KIND_HANDLE,
        KIND_UNDEFINED,
        KIND_NULL,
        KIND_INT,
        KIND_TEXT,
        KIND_FRESH,
        KIND_BOOL,
        KIND_NUMBER,
        KIND_LIST
    };
    struct Fresh;
    void copyFrom(const ScriptObject& other);
    // Makes a fresh object, in the caller's handle scope; empty without a
    // context.
    v8::Local<v8::Value> make(v8::Isolate* pIsolate) const;
    // make without holding the object, for a value handed on once (a
    // method's result); this is left empty.
    v8::Local<v8::Value> build(v8::Isolate* pIsolate) const;
    void dropFresh() const;
    v8::Local<v8::Value> arrayIn(v8::Isolate* pIsolate) const;
    // The list a KIND_LIST value holds.
    const ScriptArray& list() const;
    // The rest of a move from a list: a plain ScriptObject takes the
    // source's list over, or a copy of the ScriptArray that the source is.
    void takeList(ScriptObject& other) noexcept;
    void copyList(const ScriptObject& other);
    void dropList();
    static void ownElements(ScriptArray& list);
    template <typename T>
    bool tryGet(const std::string& strName, T& out) const;
    // The rest of a move. Only a text has characters; the other kinds'
    // strings are empty, and moving even an empty string copies.
    void takeText(ScriptObject& other)
    {
        if (m_eKind == KIND_TEXT)
            m_strValue = std::move(other.m_strValue);
        else
            m_strValue.clear();
        other.m_eKind = KIND_HANDLE;
    }

    mutable EKind m_eKind = KIND_HANDLE;
    int m_iValue = 0;            // KIND_INT, KIND_BOOL
    double m_dValue = 0;         // KIND_NUMBER
    std::string m_strValue;      // KIND_TEXT
    mutable Compat::Global<v8::Value> m_value;  // KIND_HANDLE; empty when nothing is held
    mutable Fresh* m_pFresh = nullptr;      // KIND_FRESH, once it has a property
    ScriptArray* m_pList = nullptr;         // KIND_LIST, in a plain ScriptObject
};

// Any script value, held as it is; a ScriptArray or any other ScriptObject
// given to To is made a script value, and an empty one is undefined.
template <>
struct Converter<ScriptObject> {
    static bool From(v8::Isolate*, v8::Local<v8::Value> value, ScriptObject& out)
    {
        out = ScriptObject(value);
        return true;
    }
    static v8::Local<v8::Value> To(v8::Isolate* pIsolate, const ScriptObject& value)
    {
        v8::Local<v8::Value> made = value.getValue();
        return made.IsEmpty() ? v8::Undefined(pIsolate).As<v8::Value>() : made;
    }
    static const char* Expected() { return "any value"; }
};

}  // namespace Bridge

#endif
