// A script function, or whatever value a script assigned in its place.
#ifndef BRIDGE_SCRIPT_FUNCTION_H
#define BRIDGE_SCRIPT_FUNCTION_H

#include "Bridge/ScriptObject.h"

namespace Bridge {

class ScriptArray;

class ScriptFunction : public ScriptObject {
public:
    ScriptFunction();  // holds null
    // The handle is kept as given, whatever its type; isFunction tells.
    ScriptFunction(v8::Local<v8::Function> function);
    ScriptFunction(const ScriptFunction& other);
    ScriptFunction& operator=(const ScriptFunction& other);
    virtual ~ScriptFunction();

    // Calls the held function with the list's elements (ScriptArray.h). Works from the main
    // loop outside any V8 callback; an exception thrown by the script goes to
    // the engine's uncaught-error report. Never throws; answers null when
    // nothing was called or the call threw. An argument that cannot be made
    // a script value (a text over V8's string limit) is reported as the
    // call's exception, and nothing is called.
    ScriptObject invoke(ScriptArray args) const;
    // The same with one string argument, the text's bytes as they are (zero
    // bytes kept): an event's one value, with no list to make and drop.
    ScriptObject invoke(const std::string& strArgument) const;

    // Whether invoke would call something: the held value is a function.
    // Known since construction, so asking needs no handle (a weak one that
    // the collector emptied still answers true, and invoke calls nothing).
    bool isFunction() const { return m_bFunction; }

    // A copy that does not keep the function alive: once nothing else
    // reaches it, the collector takes it and the copy holds nothing
    // (isEmpty). Copies and assignments of a weak function are weak too, so
    // a native may store it as it stores any other; the class builder hands
    // its callback properties' setters weak ones, and the script object
    // keeps the function. Values that hold no function are the same either
    // way.
    ScriptFunction weak() const;
    // A copy that keeps the function alive, for work that must call it even
    // once its property holds another (an event queued for later, say).
    ScriptFunction strong() const;
    bool isWeak() const;

private:
    bool m_bFunction = false;
};

// A callback's value: a function, or null or undefined for none, held as
// given (isFunction tells which).
template <>
struct Converter<ScriptFunction> {
    static bool From(v8::Isolate*, v8::Local<v8::Value> value, ScriptFunction& out)
    {
        if (!value->IsFunction() && !value->IsNull() && !value->IsUndefined())
            return false;
        out = ScriptFunction(value.As<v8::Function>());
        return true;
    }
    static v8::Local<v8::Value> To(v8::Isolate* pIsolate, const ScriptFunction& function)
    {
        return Converter<ScriptObject>::To(pIsolate, function);
    }
    static const char* Expected() { return "a function, null or undefined"; }
};

}  // namespace Bridge

#endif
