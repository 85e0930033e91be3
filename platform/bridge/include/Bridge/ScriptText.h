// The text conversion that the engine, its host and plug-ins share: C++ text
// is UTF-8 and may hold zero bytes.
#ifndef BRIDGE_SCRIPT_TEXT_H
#define BRIDGE_SCRIPT_TEXT_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <v8.h>

namespace Bridge {

// A text of more characters than V8's strings hold (Compat::kMaxStringLength,
// counted as V8 counts them, in UTF-16 units) throws ScriptError
// RANGE_ERROR "Invalid string length: ...", which a router or GuardNative
// raises as the script's RangeError. Its UTF-8 may be longer than the limit
// in bytes.
v8::Local<v8::String> NewText(v8::Isolate* pIsolate, const char* pText, std::size_t uLength);
inline v8::Local<v8::String> NewText(v8::Isolate* pIsolate, const std::string& strText)
{
    return NewText(pIsolate, strText.data(), strText.size());
}

// A lone surrogate (a string sliced inside a pair) becomes U+FFFD.
std::string TextOf(v8::Isolate* pIsolate, v8::Local<v8::String> text);
// The same for the Latin-1 or UTF-16 characters that V8 hands out without a
// string (the inspector's messages).
std::string TextOfLatin1(const std::uint8_t* pText, std::size_t uLength);
std::string TextOfUtf16(const std::uint16_t* pText, std::size_t uLength);

}  // namespace Bridge

#endif
