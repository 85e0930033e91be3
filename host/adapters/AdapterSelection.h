// The media player behind the adapters that plug-ins construct.
#ifndef KITE_ADAPTER_SELECTION_H
#define KITE_ADAPTER_SELECTION_H

#include <string>
#include <v8.h>

namespace Kite {

// "sim" (the simulated player), "model" (the model player, on the run's
// clock: Clock.h) and, where built, "gst".
bool IsKnownAdapter(const std::string& strName);
// Sets the adapter library's backend and installs the adapter's script
// globals, if it has any (`sim`, with advance and now for the model). Call
// once per run, before the script makes any player. From then on, a player
// that garbage collection destroys while it plays is reported on stderr.
void SelectAdapter(const std::string& strName, v8::Local<v8::Context> context);
// Once the run's players are destroyed: the backend SelectAdapter set holds
// the run's players, clock and media, which go with the run.
void UnselectAdapter();

}  // namespace Kite

#endif
