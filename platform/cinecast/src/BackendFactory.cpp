#include "BackendFactory.h"

#include <mutex>

#include "Cinecast/SimAdapter.h"

namespace DeviceAPI {
namespace Cinecast {

namespace {
// One for the process: the plug-in constructs adapters with no argument, as
// on the TV, so the host's choice cannot travel with the call. What the
// factory holds (players, clock, media) is the host's run's.
std::mutex g_factoryLock;
BackendFactory g_factory;
}  // namespace

void SetBackendFactory(BackendFactory factory)
{
    std::lock_guard<std::mutex> guard(g_factoryLock);
    g_factory = std::move(factory);
}

CAdapterBackend* MakeBackend()
{
    BackendFactory factory;
    {
        std::lock_guard<std::mutex> guard(g_factoryLock);
        factory = g_factory;
    }
    if (factory)
        return factory();
    // A host that chose no player has no players to drive either.
    return Sim::CPlayers().Factory()();
}

}  // namespace Cinecast
}  // namespace DeviceAPI
