// The arguments of a native function that scripts call, read as typed
// values. Misuse throws a ScriptError whose message names the function and
// the argument; the function's guard (ThrowCaughtInScript) raises it.
#ifndef BRIDGE_TYPED_ARGUMENTS_H
#define BRIDGE_TYPED_ARGUMENTS_H

#include <cstdint>
#include <string>
#include <v8.h>

#include "Bridge/KiteException.h"

namespace Bridge {

class TypedArguments {
public:
    // strFunction prefixes every message, as the script knows the function.
    TypedArguments(const v8::FunctionCallbackInfo<v8::Value>& info, std::string strFunction);

    v8::Isolate* Isolate() const { return m_pIsolate; }
    v8::Local<v8::Context> Context() const { return m_context; }
    // Undefined beyond the arguments given.
    v8::Local<v8::Value> At(int iIndex) const { return m_info[iIndex]; }

    std::string String(int iIndex, const char* pszWhat) const;
    bool Boolean(int iIndex, const char* pszWhat) const;
    // Integers given as a Number (whole, in range) or a BigInt.
    std::int64_t Signed(v8::Local<v8::Value> value, std::int64_t llMin, std::int64_t llMax,
                        const char* pszWhat) const;
    std::uint64_t Unsigned(v8::Local<v8::Value> value, std::uint64_t ullMax, const char* pszWhat) const;
    // A getter that throws raises ScriptExceptionPending.
    v8::Local<v8::Value> Property(v8::Local<v8::Object> object, const char* pszName) const;

    [[noreturn]] void Fail(ScriptError::EKind eKind, const std::string& strMessage) const;

private:
    const v8::FunctionCallbackInfo<v8::Value>& m_info;
    v8::Isolate* m_pIsolate;
    v8::Local<v8::Context> m_context;
    std::string m_strFunction;
};

}  // namespace Bridge

#endif
