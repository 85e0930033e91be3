// The `sim` global through which scripts drive the simulated and the model
// players.
#ifndef KITE_SIM_GLOBAL_H
#define KITE_SIM_GLOBAL_H

#include <v8.h>

#include "Cinecast/ModelAdapter.h"
#include "Cinecast/SimAdapter.h"

namespace Kite {

// Defines `sim` on the context's global object and answers it: count, alive,
// calls, emit, failNextAllocation and the event codes as read-only numbers
// (sim.BUFFERING is 0, ... sim.SOUND_ANALYSIS is 8), for the given players,
// which must outlive it. Without the model players' media it serves
// simulated players, with answer, report, burst and drain; with them, which
// must outlive it too, model players, with media and release. Misuse throws
// a script TypeError or RangeError.
v8::Local<v8::Object> InstallSimGlobal(v8::Local<v8::Context> context,
                                       const DeviceAPI::Cinecast::Sim::CPlayers& players,
                                       DeviceAPI::Cinecast::Model::CMediaCatalogue* pModelMedia = nullptr);

}  // namespace Kite

#endif
