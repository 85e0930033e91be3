// The exceptions of the engine's bridge layer, and how natives that scripts
// call fail: they throw one of these, and the call's top raises it in the
// script.
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

private:
    // Script location details; nothing in this engine fills or reads them yet.
    std::string m_strFileName;
    std::string m_strSourceLine;
    int m_iLineNumber;
    int m_iColumn;
    std::string m_strStackTrace;
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
// isolate; answers the thrown value.
v8::Local<v8::Value> ThrowScriptError(v8::Isolate* pIsolate, ScriptError::EKind eKind,
                                      const std::string& strMessage);

// Called inside a catch block: raises the exception being handled in the
// script. ScriptExceptionPending leaves V8's own exception as it is (and
// answers an empty handle); a ScriptError throws its kind, any other
// KiteException an Error with its text. Other exceptions propagate.
v8::Local<v8::Value> ThrowCaughtInScript(v8::Isolate* pIsolate);

}  // namespace Bridge

#endif
