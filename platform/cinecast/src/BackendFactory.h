// Makes the backend of a new adapter with the factory the host chose.
#ifndef CINECAST_BACKEND_FACTORY_H
#define CINECAST_BACKEND_FACTORY_H

#include "Cinecast/AdapterBackend.h"

namespace DeviceAPI {
namespace Cinecast {

// Null when the factory could not make one.
CAdapterBackend* MakeBackend();

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
