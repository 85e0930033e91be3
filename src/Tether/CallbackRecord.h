// What a player thread hands to the main loop for one event.
#ifndef TETHER_CALLBACK_RECORD_H
#define TETHER_CALLBACK_RECORD_H

#include <string>

#include <Bridge/ScriptFunction.h>

namespace Tether {

struct CallbackRecord {
    // The agent's stored slot, read at delivery time; not owned.
    Bridge::ScriptFunction* js_callback;
    // Empty: the function is called with no argument.
    std::string argument;
    // The serial of the agent that owns js_callback: delivery goes through
    // the slot only while that agent is alive.
    unsigned long long agent_serial;
};

// Queues a record for the stored slot of the given agent on the main loop at
// the events' priority; FireOnCallbacks delivers and frees it. Callable from
// any thread. The text is taken over by the record.
void QueueCallback(Bridge::ScriptFunction* pSlot, unsigned long long ullAgentSerial, std::string strArgument);

}  // namespace Tether

#endif
