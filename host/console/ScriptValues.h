// Small conversions between script values and C++ used by the host's globals.
#ifndef KITE_SCRIPT_VALUES_H
#define KITE_SCRIPT_VALUES_H

#include <Bridge/KiteException.h>
#include <Bridge/Converter.h>
#include <string>
#include <v8.h>

namespace Kite {

// A string as it is, any other value as its conversion to a string gives it;
// empty when that conversion threw.
std::string TextOfValue(v8::Isolate* pIsolate, v8::Local<v8::Value> value);
// The value as String(value) gives it; false when conversion threw.
bool DisplayText(v8::Isolate* pIsolate, v8::Local<v8::Value> value, std::string& strOut);

// DATA is what the callback's info.Data() answers.
void SetFunction(v8::Local<v8::Context> context, v8::Local<v8::Object> target, const char* pszName,
                 v8::FunctionCallback callback, v8::Local<v8::Value> data = v8::Local<v8::Value>());

}  // namespace Kite

#endif
