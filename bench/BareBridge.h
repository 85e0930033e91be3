// The floor the plug-in's own work is measured against: the same results
// through the bridge library, with nothing of the plug-in in between.
#ifndef TETHER_BENCH_BARE_BRIDGE_H
#define TETHER_BENCH_BARE_BRIDGE_H

namespace TetherBench {

// Puts the bridge class "BareBridge" on the global object of the attached
// context, registered and routed as the plug-in's class is. Its methods
// build their results with Bridge::ScriptObject::set as the commands do, but
// call no adapter and write no log line:
// - player_get_duration(): "return_ecode" 0, "return_type" 1 and
//   "return_data" the quiet player's duration;
// - player_seek_to(args): reads "param_seek_to" of its first argument with
//   tryGetNumber and answers "return_ecode" 0.
// Its natives go with the engine's other natives when it detaches.
void InstallBareBridge();

}  // namespace TetherBench

#endif
