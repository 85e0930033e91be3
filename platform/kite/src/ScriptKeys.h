// Property names as internalized script strings, made once per isolate.
//
// Building a name from its text on every property access costs more than
// the access itself: the text is decoded into a new string, which V8 then
// looks up in its string table. Names are kept as v8::Eternal handles in the
// isolate's data, so a new isolate starts with none; an isolate that is not
// attached makes them on every use.
#ifndef BRIDGE_SCRIPT_KEYS_H
#define BRIDGE_SCRIPT_KEYS_H

#include <string>
#include <v8.h>

namespace Bridge {

// The name as a script string in the caller's handle scope; the empty
// string when V8 cannot make it (too long), as StringToV8 answers.
v8::Local<v8::String> KeyToV8(v8::Isolate* pIsolate, const std::string& strName);

}  // namespace Bridge

#endif
