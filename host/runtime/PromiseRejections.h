// Promises rejected with nobody to handle them: reported like uncaught
// exceptions once the task that rejected them is over, unless a handler has
// been attached by then. The isolate's run keeps them until then.
#ifndef KITE_PROMISE_REJECTIONS_H
#define KITE_PROMISE_REJECTIONS_H

#include <v8.h>

namespace Kite {

void TrackPromiseRejections(v8::Isolate* pIsolate);
// Called between tasks of the main loop, after their microtasks have run.
void ReportUnhandledRejections(v8::Isolate* pIsolate);

}  // namespace Kite

#endif
