// The exceptions of the engine's bridge layer, and how natives that scripts
// call fail: they throw, and the call's top (a router of the library, or
// GuardNative) raises it in the script. Nothing a native throws ends the
// process there: one of these keeps its kind and text, any other
// std::exception becomes an Error with its what(), anything else an Error
// saying that a native exception of unknown type was thrown.
#ifndef BRIDGE_KITE_EXCEPTION_H
#define BRIDGE_KITE_EXCEPTION_H

#include <exception>
#include <string>
#include <v8.h>

#include "Bridge/ScriptExceptionPending.h"

class KiteException : public std::exception {
public:
    explicit KiteException(const std::string& strMessage = std::string());
    virtual ~KiteException() noexcept;
    virtual const char* what() const noexcept;
    virtual const char* msg() const noexcept;

private:
    std::string m_strMessage;
};

class KiteJsException : public KiteException {
public:
    explicit KiteJsException(const std::string& strMessage = std::string());
    virtual ~KiteJsException() noexcept;
};

class KiteJsRuntimeException : public KiteJsException {
public:
    explicit KiteJsRuntimeException(char const* pszMessage);
    virtual ~KiteJsRuntimeException() noexcept;
};

namespace Bridge {

// A native's refusal that the script sees as an exception of the given
// kind; a plain KiteJsRuntimeException becomes an Error.
class ScriptError : public KiteJsRuntimeException {
public:
    enum EKind { ERROR, TYPE_ERROR, RANGE_ERROR };
    ScriptError(EKind eKind, const std::string& strMessage);
    EKind Kind() const { return m_eKind; }

private:
    EKind m_eKind;
};

// Throws a script exception of the kind with the message (UTF-8) in the
// isolate; answers the thrown value. A message over V8's string limit
// throws a RangeError instead.
v8::Local<v8::Value> ThrowScriptError(v8::Isolate* pIsolate, ScriptError::EKind eKind,
                                      const std::string& strMessage) noexcept;

// Called inside a catch block: raises the exception being handled in the
// script. ScriptExceptionPending leaves V8's own exception as it is (and
// answers an empty handle); a ScriptError throws its kind, any other
// KiteException or std::exception an Error with its text, anything else an
// Error "WHERE: a native exception of unknown type" (pszWhere, such as
// "Store.save", or the text alone without it).
v8::Local<v8::Value> ThrowCaughtInScript(v8::Isolate* pIsolate, const char* pszWhere = nullptr) noexcept;

// Runs body, the native part of a V8 callback that a plug-in installs itself
// (an accessor, a function of its own), as the library's routers run
// theirs: whatever body throws is raised in the script by
// ThrowCaughtInScript. Answers whether body returned.
//     void GetSize(v8::Local<v8::String>, const v8::PropertyCallbackInfo<v8::Value>& info)
//     {
//         Bridge::GuardNative(info.GetIsolate(), [&] {
//             CStore* pStore = Bridge::ScriptBridge::extract<CStore, CStore>(info.This());
//             info.GetReturnValue().Set(pStore != nullptr ? pStore->Size() : 0);
//         }, "Store.size");
//     }
template <class TBody>
bool GuardNative(v8::Isolate* pIsolate, TBody&& body, const char* pszWhere = nullptr) noexcept
{
    try {
        body();
        return true;
    } catch (...) {
        ThrowCaughtInScript(pIsolate, pszWhere);
        return false;
    }
}

}  // namespace Bridge

#endif
