// Script values as C++ values: one converter per type, built on the text
// conversion (Bridge/ScriptText.h, which this header gives its users too).
//
// A converter's From answers true and writes the output when the value has
// the type, and answers false and leaves the output alone otherwise. It
// converts nothing (no ToString, no valueOf), so no script code runs. To
// makes the script value. Expected names what From takes, for the messages
// that refuse a value ("must be a string").
#ifndef BRIDGE_CONVERTER_H
#define BRIDGE_CONVERTER_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <v8.h>

#include "Bridge/ScriptText.h"

namespace Bridge {

template <typename T>
struct Converter;

template <>
struct Converter<std::string> {
    static bool From(v8::Isolate* pIsolate, v8::Local<v8::Value> value, std::string& strOut)
    {
        if (!value->IsString())
            return false;
        strOut = TextOf(pIsolate, value.As<v8::String>());
        return true;
    }
    static v8::Local<v8::Value> To(v8::Isolate* pIsolate, const std::string& strValue)
    {
        return NewText(pIsolate, strValue);
    }
    static const char* Expected() { return "a string"; }
};

template <>
struct Converter<double> {
    static bool From(v8::Isolate*, v8::Local<v8::Value> value, double& dOut)
    {
        if (!value->IsNumber())
            return false;
        dOut = value.As<v8::Number>()->Value();
        return true;
    }
    static v8::Local<v8::Value> To(v8::Isolate* pIsolate, double dValue) { return v8::Number::New(pIsolate, dValue); }
    static const char* Expected() { return "a number"; }
};

template <>
struct Converter<bool> {
    static bool From(v8::Isolate*, v8::Local<v8::Value> value, bool& bOut)
    {
        if (!value->IsBoolean())
            return false;
        bOut = value->IsTrue();
        return true;
    }
    static v8::Local<v8::Value> To(v8::Isolate* pIsolate, bool bValue) { return v8::Boolean::New(pIsolate, bValue); }
    static const char* Expected() { return "a boolean"; }
};

// A whole number that a script number holds exactly: within
// ±(2^53 - 1), Number.MAX_SAFE_INTEGER.
template <>
struct Converter<std::int64_t> {
    static const std::int64_t s_llMaxExact = (std::int64_t(1) << 53) - 1;
    // A Number that is such a whole number, or a BigInt within 64 bits
    // (V8 10.2; V8 3.x has none).
    static bool From(v8::Isolate* pIsolate, v8::Local<v8::Value> value, std::int64_t& llOut);
    // Throws ScriptError RANGE_ERROR beyond ±(2^53 - 1), where a Number
    // would round the value.
    static v8::Local<v8::Value> To(v8::Isolate* pIsolate, std::int64_t llValue)
    {
        return v8::Number::New(pIsolate, Exact(llValue));
    }
    // The value as a Number holds it; the same RANGE_ERROR.
    static double Exact(std::int64_t llValue);
    static const char* Expected() { return "a whole number within 2^53 - 1 either way, or a BigInt of 64 bits"; }
};

template <>
struct Converter<int> {
    // Only a whole number within int's range.
    static bool From(v8::Isolate*, v8::Local<v8::Value> value, int& iOut)
    {
        if (!value->IsInt32())
            return false;
        iOut = static_cast<int>(value.As<v8::Integer>()->Value());
        return true;
    }
    static v8::Local<v8::Value> To(v8::Isolate* pIsolate, int iValue) { return v8::Integer::New(pIsolate, iValue); }
    static const char* Expected() { return "a whole number from -2147483648 to 2147483647"; }
};

}  // namespace Bridge

#endif
