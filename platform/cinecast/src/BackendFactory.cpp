#include "BackendFactory.h"

#include <atomic>

#include "Cinecast/SimAdapter.h"

namespace DeviceAPI {
namespace Cinecast {

namespace {
std::atomic<BackendFactory> g_factory{nullptr};
}  // namespace

void SetBackendFactory(BackendFactory factory)
{
    g_factory.store(factory);
}

CAdapterBackend* MakeBackend()
{
    BackendFactory factory = g_factory.load();
    return factory ? factory() : Sim::CreateBackend();
}

}  // namespace Cinecast
}  // namespace DeviceAPI
