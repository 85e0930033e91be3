// UTF-8 text of script strings, embedded zero bytes included.
#ifndef BRIDGE_SCRIPT_TEXT_H
#define BRIDGE_SCRIPT_TEXT_H

#include <string>
#include <v8.h>

namespace Bridge {

std::string TextOf(v8::Isolate* pIsolate, v8::Local<v8::String> text);

}  // namespace Bridge

#endif
