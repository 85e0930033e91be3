// The exceptions of the engine's bridge layer, and how natives that scripts
// call fail: they throw, and the call's top (a router of the library, or
// GuardNative) raises it in the script. Nothing a native throws ends the
// process there: one of these keeps its kind and text, any other
// std::exception becomes an Error with its what(), anything else an Error
// saying that a native exception of unknown type was thrown.
#ifndef BRIDGE_KITE_EXCEPTION_H
#define BRIDGE_KITE_EXCEPTION_H

#include <string>
#include <v8.h>

#include "Bridge/ScriptError.h"
#include "Bridge/ScriptExceptionPending.h"

namespace Bridge {

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
