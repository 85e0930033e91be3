// The process-wide list of simulated adapters, in construction order.
#ifndef CINECAST_SIM_REGISTRY_H
#define CINECAST_SIM_REGISTRY_H

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "SimRecord.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

class CSimRegistry {
public:
    static CSimRegistry& Instance();

    // The new adapter's index is the count before it.
    void Add(const std::shared_ptr<CSimRecord>& pRecord);
    // Throws std::out_of_range for an index never given out.
    std::shared_ptr<CSimRecord> At(std::size_t i) const;
    std::size_t Count() const;
    std::size_t Alive() const;

private:
    CSimRegistry() = default;

    mutable std::mutex m_lock;
    std::vector<std::shared_ptr<CSimRecord>> m_aRecords;
};

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
