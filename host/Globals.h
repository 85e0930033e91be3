// The globals that kite gives every script besides the plug-ins' classes.
#ifndef KITE_GLOBALS_H
#define KITE_GLOBALS_H

#include <string>
#include <v8.h>
#include <vector>

namespace Kite {

// console.log, console.error
void InstallConsole(v8::Local<v8::Context> context);
// kite.args, quit, gc, destroy, afterIdle, tid; answers the kite object.
v8::Local<v8::Object> InstallKiteObject(v8::Local<v8::Context> context,
                                        const std::vector<std::string>& aArgs);
// kite.load, captureLog, takeLog
void InstallTestHelpers(v8::Local<v8::Context> context, v8::Local<v8::Object> kite);

}  // namespace Kite

#endif
