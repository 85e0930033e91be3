// A script value held beyond any handle scope.
//
// Objects and functions are held through a persistent handle. Numbers made
// from an int, strings made from text, undefined and null are kept by value
// and become script values only when asked for: they are what most lists of
// arguments and results hold, and a persistent handle made and dropped for
// each of them costs more than the value itself.
#ifndef BRIDGE_SCRIPT_OBJECT_H
#define BRIDGE_SCRIPT_OBJECT_H

#include <string>
#include <utility>
#include <v8.h>

namespace Bridge {

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
    ScriptObject(const ScriptObject& other);
    ScriptObject& operator=(const ScriptObject& other);
    // Moving hands the held value over without a new handle; the source is
    // left empty. Inline: event delivery moves a text through a list and a
    // call for every event.
    ScriptObject(ScriptObject&& other) noexcept
        : m_eKind(other.m_eKind), m_iValue(other.m_iValue), m_value(std::move(other.m_value))
    {
        takeText(other);
    }
    ScriptObject& operator=(ScriptObject&& other) noexcept
    {
        if (this != &other) {
            m_eKind = other.m_eKind;
            m_iValue = other.m_iValue;
            m_value = std::move(other.m_value);
            takeText(other);
        }
        return *this;
    }
    virtual ~ScriptObject() {}

    static ScriptObject Null();

    // A handle in the caller's handle scope; empty when nothing is held.
    v8::Local<v8::Value> getValue() const;
    bool isEmpty() const { return m_eKind == KIND_HANDLE && m_value.IsEmpty(); }

    // Sets a named property when the held value is an object.
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

    // getValue with the isolate at hand.
    v8::Local<v8::Value> valueIn(v8::Isolate* pIsolate) const;

private:
    friend class ScriptArray;     // holds elements made without a value
    friend class ScriptFunction;  // invoke reads arguments with the isolate at hand

    enum EKind : unsigned char { KIND_HANDLE, KIND_UNDEFINED, KIND_NULL, KIND_INT, KIND_TEXT };
    void copyFrom(const ScriptObject& other);
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

    EKind m_eKind = KIND_HANDLE;
    int m_iValue = 0;            // KIND_INT
    std::string m_strValue;      // KIND_TEXT
    v8::Global<v8::Value> m_value;  // KIND_HANDLE; empty when nothing is held
};

}  // namespace Bridge

#endif
