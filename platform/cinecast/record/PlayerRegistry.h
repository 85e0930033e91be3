// One host's list of simulated and model adapters, in construction order:
// one numbering, so that sim.calls and sim.emit reach either.
#ifndef CINECAST_PLAYER_REGISTRY_H
#define CINECAST_PLAYER_REGISTRY_H

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

#include "PlayerRecord.h"

namespace DeviceAPI {
namespace Cinecast {

class CPlayerRegistry {
public:
    // The new adapter's index is the count before it.
    void Add(const std::shared_ptr<CPlayerRecord>& pRecord);
    // Throws std::out_of_range for an index never given out.
    std::shared_ptr<CPlayerRecord> At(std::size_t i) const;
    std::size_t Count() const;
    std::size_t Alive() const;

private:
    mutable std::mutex m_lock;
    std::vector<std::shared_ptr<CPlayerRecord>> m_aRecords;
};

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
