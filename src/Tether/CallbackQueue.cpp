#include <clutter/clutter.h>

#include "CallbackRecord.h"
#include "HandOverAnnotations.h"
#include "Tether.h"

namespace Tether {

namespace {
// Clutter's redraw priority: after high-priority idles, before default ones.
const gint s_iEventPriority = 150;
}  // namespace

void QueueCallback(Bridge::ScriptFunction* pSlot, unsigned long long ullAgentSerial,
                   const std::string& strArgument)
{
    CallbackRecord* pRecord = new CallbackRecord{pSlot, strArgument, ullAgentSerial};
    TETHER_HAND_OVER_QUEUE(
        clutter_threads_add_idle_full(s_iEventPriority, Tether::FireOnCallbacks, pRecord, nullptr));
}

}  // namespace Tether
