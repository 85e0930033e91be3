// The `sim` global through which scripts drive the simulated and the model
// players.
#ifndef KITE_SIM_GLOBAL_H
#define KITE_SIM_GLOBAL_H

#include <v8.h>

#include "Cinecast/ModelAdapter.h"

namespace Kite {

// Defines `sim` on the context's global object and answers it: count, alive,
// calls, emit, failNextAllocation and the event codes as read-only numbers
// (sim.BUFFERING is 0, ... sim.SOUND_ANALYSIS is 8). Without the model
// players' media it serves the simulated players, with answer, report,
// burst and drain; with them, which must outlive it, the model players,
// with media and release. Misuse throws a script TypeError or RangeError.
v8::Local<v8::Object> InstallSimGlobal(v8::Local<v8::Context> context,
                                       DeviceAPI::Cinecast::Model::CMediaCatalogue* pModelMedia = nullptr);

}  // namespace Kite

#endif
