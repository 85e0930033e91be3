// What the main loop calls later, on one time line: the script's timers and
// intervals and the players' own timed work (the model player's events) by
// due time on the run's clock (Clock.h), and kite.afterIdle calls after the
// events queued before them. After each timer or timed event, the events and
// afterIdle calls it queued are delivered before the next one runs.
#ifndef KITE_SCHEDULED_CALLS_H
#define KITE_SCHEDULED_CALLS_H

#include <glib.h>

#include <cstddef>
#include <functional>
#include <string>
#include <v8.h>

#include "runtime/KiteRun.h"

namespace Kite {

// The main loop's priority of kite.afterIdle: that of the plug-ins' event
// records, so an afterIdle call runs after every record queued before it.
const int AFTER_IDLE_PRIORITY = 150;

// setTimeout, clearTimeout, setInterval, clearInterval, queueMicrotask and
// performance.now.
void InstallTimers(v8::Local<v8::Context> context);
// kite.afterIdle(fn)
void AfterIdle(const v8::FunctionCallbackInfo<v8::Value>& info);

// Native work at llDueUs on the run's clock, on the main loop's thread, once
// the timers are installed; answers an id for CancelNative. It does not keep
// the run going.
unsigned long long ScheduleNative(gint64 llDueUs, std::function<void()> fn);
// Unknown or finished ids are ignored.
void CancelNative(unsigned long long ullId);

// Virtual time only: runs in time order everything that falls due within
// llMs milliseconds, delivering the events each queues, and leaves the clock
// llMs later. False with a reason when it cannot (inside another advance).
bool AdvanceClock(CKiteRun& run, double dMs, std::string& strError);

// The script's timers, intervals and afterIdle calls that have not run yet.
std::size_t PendingScheduledCalls();
// True when something can run without the clock moving: an afterIdle call,
// or a timer or timed event already due.
bool HasWorkDueNow();
// Drops every pending call without running it.
void CancelScheduledCalls();

}  // namespace Kite

#endif
