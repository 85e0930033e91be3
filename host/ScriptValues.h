// Small conversions between script values and C++ used by the host's globals.
#ifndef KITE_SCRIPT_VALUES_H
#define KITE_SCRIPT_VALUES_H

#include <string>
#include <v8.h>

namespace Kite {

v8::Local<v8::String> NewString(v8::Isolate* pIsolate, const std::string& strText);
std::string Utf8Of(v8::Isolate* pIsolate, v8::Local<v8::Value> value);
// The value as String(value) gives it; false when conversion threw.
bool DisplayText(v8::Isolate* pIsolate, v8::Local<v8::Value> value, std::string& strOut);

void SetFunction(v8::Local<v8::Context> context, v8::Local<v8::Object> target, const char* pszName,
                 v8::FunctionCallback callback);
void ThrowTypeError(v8::Isolate* pIsolate, const std::string& strMessage);
void ThrowError(v8::Isolate* pIsolate, const std::string& strMessage);

}  // namespace Kite

#endif
