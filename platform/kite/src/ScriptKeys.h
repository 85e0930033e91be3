// Property names as internalized script strings, made once per isolate.
//
// Building a name from its text on every property access costs more than
// the access itself: the text is decoded into a new string, which V8 then
// looks up in its string table. Names are kept as v8::Eternal handles in a
// cache stored in the isolate's last embedder data slot, so a new isolate
// (even one at a freed isolate's address) starts with an empty cache.
#ifndef BRIDGE_SCRIPT_KEYS_H
#define BRIDGE_SCRIPT_KEYS_H

#include <string>
#include <v8.h>

namespace Bridge {

// The name as a script string in the caller's handle scope; the empty
// string when V8 cannot make it (too long), as StringToV8 answers.
v8::Local<v8::String> KeyToV8(v8::Isolate* pIsolate, const std::string& strName);

// A new object of the context with these own data properties, defined as
// an object literal defines them, by a maker compiled once per sequence of
// names and kept beside the names. Empty when the stack is exhausted or the
// script is terminating.
v8::Local<v8::Object> NewObjectWith(v8::Isolate* pIsolate, v8::Local<v8::Context> context, const std::string* aNames,
                                    v8::Local<v8::Value>* aValues, int iCount);

// Drops the isolate's cache; the engine calls it when it detaches. Safe
// for an isolate that has none.
void ReleaseKeys(v8::Isolate* pIsolate);

}  // namespace Bridge

#endif
