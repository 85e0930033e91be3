// Script functions that the main loop calls later: setTimeout/clearTimeout
// and kite.afterIdle.
#ifndef KITE_SCHEDULED_CALLS_H
#define KITE_SCHEDULED_CALLS_H

#include <cstddef>
#include <v8.h>

namespace Kite {

// The main loop's priority of kite.afterIdle: that of the plug-ins' event
// records, so an afterIdle call runs after every record queued before it.
const int AFTER_IDLE_PRIORITY = 150;

void InstallTimers(v8::Local<v8::Context> context);
// kite.afterIdle(fn)
void AfterIdle(const v8::FunctionCallbackInfo<v8::Value>& info);

// Timers and afterIdle calls that have not run yet.
std::size_t PendingScheduledCalls();
// Drops every pending call without running it.
void CancelScheduledCalls();

}  // namespace Kite

#endif
