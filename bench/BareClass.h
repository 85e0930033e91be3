// The floor the routed calls are measured against: what a bare V8 embedding
// pays for the same script-visible work, with no bridge library in between.
#ifndef TETHER_BENCH_BARE_CLASS_H
#define TETHER_BENCH_BARE_CLASS_H

#include "BenchRuntime.h"

namespace TetherBench {

// Puts the script class "Bare" on the global object. Its objects keep a
// native in internal field 0, like the plug-in's, and have
// - call(): unwraps its receiver and answers a fresh object whose
//   "return_ecode" is 0, the key kept in a v8::Eternal;
// - callThree(): the same with "return_ecode", "return_type" and
//   "return_data", as a query's result holds them;
// - callNaive(): call() with the key made on every call;
// - onbuffering: a setter-only property that unwraps its receiver and keeps
//   the assigned value in a v8::Global of the native.
void InstallBareClass(CBenchRuntime& runtime);
// Releases the natives of every Bare object; before the isolate goes.
void ReleaseBareNatives();

}  // namespace TetherBench

#endif
