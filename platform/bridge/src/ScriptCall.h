// Calls of script functions from C++ (ScriptFunction::invoke), and the
// report of what they throw.
#ifndef BRIDGE_SCRIPT_CALL_H
#define BRIDGE_SCRIPT_CALL_H

#include <v8.h>

namespace Bridge {

// Hands a caught exception to the isolate's uncaught handler; without one
// (or in an isolate that is not attached) it goes to stderr.
void ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch);

}  // namespace Bridge

#endif
