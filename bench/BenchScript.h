// The script side of every figure: the players, the bare objects, the timed
// loops and the event callbacks, defined once in the bench's context.
#ifndef TETHER_BENCH_SCRIPT_H
#define TETHER_BENCH_SCRIPT_H

#include <cstddef>
#include <vector>

#include "BenchRuntime.h"

namespace TetherBench {

// Script globals:
// - quiet: a Tether object on the quiet player (commands, assignments);
// - players: four Tether objects on simulated players, their
//   oncurrent_time set to countEvent (events);
// - bare: a Bare object; bareBridge: a BareBridge object; seekArgs, handler;
// - loops taking a count: ourDuration, ourSeek, ourAssign, bridgeDuration,
//   bridgeSeek, bareCall, bareCallWithArgs, bareCallThree, bareCallNaiveKey,
//   bareAssign;
// - countEvent(text), which ends the main loop at the expected count set by
//   expectEvents(n); stampOurs(text) and stampBare(text), which record for
//   their path the latency of a text holding a steady-clock time in
//   nanoseconds cut to 32 bits.
// Answers the simulation index of players[0]; the others follow it.
std::size_t InstallBenchScript(CBenchRuntime& runtime);

// The stamps end the main loop once each path has recorded uCount latencies.
void ExpectStamps(std::size_t uCount);
// The recorded latencies of one path in nanoseconds, taking them.
std::vector<double> TakeStamps(bool bBare);

// Steady-clock nanoseconds, the clock of the stamped texts.
unsigned long long SteadyNanos();

}  // namespace TetherBench

#endif
