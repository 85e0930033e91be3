#include "Bridge/KiteException.h"

#include "Bridge/ScriptText.h"

namespace Bridge {

v8::Local<v8::Value> ThrowScriptError(v8::Isolate* pIsolate, ScriptError::EKind eKind,
                                      const std::string& strMessage) noexcept
{
    v8::Local<v8::String> message;
    try {
        message = NewText(pIsolate, strMessage);
    } catch (const ScriptError& e) {
        // The message itself is over the limit: what it says is lost.
        eKind = e.Kind();
        message = v8::String::Empty(pIsolate);
        try {
            message = NewText(pIsolate, e.what());
        } catch (...) {
        }
    } catch (...) {
        message = v8::String::Empty(pIsolate);
    }
    v8::Local<v8::Value> exception = eKind == ScriptError::TYPE_ERROR    ? v8::Exception::TypeError(message)
                                     : eKind == ScriptError::RANGE_ERROR ? v8::Exception::RangeError(message)
                                                                         : v8::Exception::Error(message);
    return pIsolate->ThrowException(exception);
}

// Sorting by rethrowing needs no run-time type information, which V8's
// classes lack.
v8::Local<v8::Value> ThrowCaughtInScript(v8::Isolate* pIsolate, const char* pszWhere) noexcept
{
    try {
        throw;
    } catch (const ScriptExceptionPending&) {
        return v8::Local<v8::Value>();
    } catch (const ScriptError& e) {
        return ThrowScriptError(pIsolate, e.Kind(), e.what());
    } catch (const std::exception& e) {
        return ThrowScriptError(pIsolate, ScriptError::ERROR, e.what());
    } catch (...) {
        const char* pszText = "a native exception of unknown type";
        return ThrowScriptError(pIsolate, ScriptError::ERROR,
                                pszWhere != nullptr ? std::string(pszWhere) + ": " + pszText : std::string(pszText));
    }
}

}  // namespace Bridge
