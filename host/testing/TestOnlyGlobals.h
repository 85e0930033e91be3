// What kite gives scripts for the sake of tests only: kite.load,
// kite.captureLog and kite.takeLog. No script of a product relies on them.
#ifndef KITE_TEST_ONLY_GLOBALS_H
#define KITE_TEST_ONLY_GLOBALS_H

#include <v8.h>

namespace Kite {

// Adds them to the kite object.
void InstallTestOnlyGlobals(v8::Local<v8::Context> context, v8::Local<v8::Object> kite);

}  // namespace Kite

#endif
