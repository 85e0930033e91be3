// The timer globals that every script gets, on the run's time line
// (runtime/ScheduledCalls.h).
#ifndef KITE_TIMERS_H
#define KITE_TIMERS_H

#include <v8.h>

namespace Kite {

// setTimeout, clearTimeout, setInterval, clearInterval, queueMicrotask and
// performance.now.
void InstallTimers(v8::Local<v8::Context> context);
// kite.afterIdle(fn)
void AfterIdle(const v8::FunctionCallbackInfo<v8::Value>& info);

}  // namespace Kite

#endif
