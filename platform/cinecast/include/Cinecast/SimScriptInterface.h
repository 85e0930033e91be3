// The `sim` global through which scripts drive the simulated player.
#ifndef CINECAST_SIM_SCRIPT_INTERFACE_H
#define CINECAST_SIM_SCRIPT_INTERFACE_H

#include <v8.h>

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

// Which players stand behind `sim`: the simulated ones, or the model ones.
enum class EPlayers { SIMULATED, MODEL };

// Defines `sim` on the context's global object and answers it: count, alive,
// calls, emit, failNextAllocation and the event codes as read-only numbers
// (sim.BUFFERING is 0, ... sim.SOUND_ANALYSIS is 8); for the simulated
// players also answer, report, burst and drain, for the model ones media.
// Misuse throws a script TypeError or RangeError.
v8::Local<v8::Object> InstallScriptInterface(v8::Local<v8::Context> context,
                                             EPlayers ePlayers = EPlayers::SIMULATED);

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
