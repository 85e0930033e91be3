// What kind of script value a wrapper holds; each test opens its own handle
// scope, so that it may run outside any V8 callback.
#ifndef TETHER_SCRIPT_KINDS_H
#define TETHER_SCRIPT_KINDS_H

#include <Bridge/ScriptObject.h>
#include <v8.h>

namespace Tether {

inline bool IsScriptFunction(const Bridge::ScriptObject& value)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    v8::Local<v8::Value> handle = value.getValue();
    return !handle.IsEmpty() && handle->IsFunction();
}

inline bool IsScriptString(const Bridge::ScriptObject& value)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    v8::Local<v8::Value> handle = value.getValue();
    return !handle.IsEmpty() && handle->IsString();
}

}  // namespace Tether

#endif
