#include "BackendFactory.h"

#include <mutex>

#include "Cinecast/SimAdapter.h"

namespace DeviceAPI {
namespace Cinecast {

namespace {
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
    return factory ? factory() : Sim::CreateBackend();
}

}  // namespace Cinecast
}  // namespace DeviceAPI
