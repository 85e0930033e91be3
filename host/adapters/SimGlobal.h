// The `sim` global through which scripts drive the simulated and the model
// players.
#ifndef KITE_SIM_GLOBAL_H
#define KITE_SIM_GLOBAL_H

#include <v8.h>

namespace Kite {

// Which players stand behind `sim`: the simulated ones, or the model ones.
enum class EPlayers { SIMULATED, MODEL };

// Defines `sim` on the context's global object and answers it: count, alive,
// calls, emit, failNextAllocation and the event codes as read-only numbers
// (sim.BUFFERING is 0, ... sim.SOUND_ANALYSIS is 8); for the simulated
// players also answer, report, burst and drain, for the model ones media.
// Misuse throws a script TypeError or RangeError.
v8::Local<v8::Object> InstallSimGlobal(v8::Local<v8::Context> context, EPlayers ePlayers = EPlayers::SIMULATED);

}  // namespace Kite

#endif
