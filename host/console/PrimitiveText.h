// Values without parts as the printer shows them inside other values.
#ifndef KITE_PRIMITIVE_TEXT_H
#define KITE_PRIMITIVE_TEXT_H

#include <string>
#include <v8.h>

namespace Kite {

// Quoted with ' (or " or ` when the text holds the quote before), escaped,
// and cut after 10000 characters with a count of the rest.
std::string QuotedText(v8::Isolate* pIsolate, v8::Local<v8::String> text);
// -0 as -0, else as String(number).
std::string NumberText(v8::Isolate* pIsolate, double dValue);
// Any value that is no object: strings quoted, a BigInt with its n.
std::string PrimitiveText(v8::Local<v8::Context> context, v8::Local<v8::Value> value);

}  // namespace Kite

#endif
