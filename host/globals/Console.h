// The console object that every script gets.
#ifndef KITE_CONSOLE_H
#define KITE_CONSOLE_H

#include <v8.h>

namespace Kite {

// console.log, console.error and the rest of console's methods.
void InstallConsole(v8::Local<v8::Context> context);

}  // namespace Kite

#endif
