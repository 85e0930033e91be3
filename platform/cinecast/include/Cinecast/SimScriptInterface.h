// The `sim` global through which scripts drive the simulated player.
#ifndef CINECAST_SIM_SCRIPT_INTERFACE_H
#define CINECAST_SIM_SCRIPT_INTERFACE_H

#include <v8.h>

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

// Defines `sim` on the context's global object: count, alive, calls, answer,
// report, emit, failNextAllocation, burst and drain, and the event codes as
// read-only numbers (sim.BUFFERING is 0, ... sim.SOUND_ANALYSIS is 8). Misuse
// throws a script TypeError or RangeError.
void InstallScriptInterface(v8::Local<v8::Context> context);

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
