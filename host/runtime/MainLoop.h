// The GLib main loop that runs timers, afterIdle calls and the plug-ins'
// events until the script is finished.
#ifndef KITE_MAIN_LOOP_H
#define KITE_MAIN_LOOP_H

#include <Bridge/Engine.h>

#include "runtime/KiteRun.h"

namespace Kite {

// The bridge library's work (destroying collected natives), run from the
// loop at idle priority: the engine's task poster.
void PostScriptTask(Bridge::Engine::Task task);

// A plug-in's event from any thread (Bridge::Engine::EventPoster): at the
// priority of kite.afterIdle, so an afterIdle call runs after every event
// queued before it.
void PostPluginEvent(Bridge::Engine::EventCall call, void* pData);

// Returns on kite.quit, or once no timer, no interval, no afterIdle call and
// no script object of a plug-in class is left, and no ref'd thread-safe call
// of a plug-in holds the run (with virtual time: once nothing is left that
// can run without the clock moving, and no such call holds the run).
void RunMainLoop(CKiteRun& run);

// Dispatches, without waiting, what plug-ins left queued on the loop when it
// ended. Called once no script object is left, so event records release
// themselves and call nothing.
void DispatchLeftoverSources();

}  // namespace Kite

#endif
