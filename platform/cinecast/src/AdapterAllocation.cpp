// Adapter allocation, with a switch that makes the non-throwing form fail
// once so that callers' null checks can be exercised.
#include <atomic>

#include "Cinecast/AdapterBackend.h"
#include "Cinecast/CinecasterAdapter.h"

namespace DeviceAPI {
namespace Cinecast {

namespace {
std::atomic<bool> g_bFailNextAllocation{false};
}  // namespace

void FailNextAllocation()
{
    g_bFailNextAllocation.store(true);
}

void* CinecasterAdapter::operator new(std::size_t size)
{
    return ::operator new(size);
}

void* CinecasterAdapter::operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    if (g_bFailNextAllocation.exchange(false))
        return nullptr;
    return ::operator new(size, std::nothrow);
}

void CinecasterAdapter::operator delete(void* p) noexcept
{
    ::operator delete(p);
}

void CinecasterAdapter::operator delete(void* p, const std::nothrow_t&) noexcept
{
    ::operator delete(p);
}

}  // namespace Cinecast
}  // namespace DeviceAPI
