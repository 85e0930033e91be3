// Turns one event's data into the call of the handler registered for its code.
#ifndef CINECAST_SIM_EVENT_FIRING_H
#define CINECAST_SIM_EVENT_FIRING_H

#include "Cinecast/SimAdapter.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

bool IsEventCode(KiteBridgeCallBack eCode);
// Calls the handler on the calling thread; false when none is registered.
bool FireEventData(CAdapterBackend& backend, KiteBridgeCallBack eCode, const CEventData& data);

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
