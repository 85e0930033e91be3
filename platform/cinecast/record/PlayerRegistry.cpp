#include "PlayerRegistry.h"

#include <stdexcept>
#include <string>

namespace DeviceAPI {
namespace Cinecast {

void CPlayerRegistry::Add(const std::shared_ptr<CPlayerRecord>& pRecord)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_aRecords.push_back(pRecord);
}

std::shared_ptr<CPlayerRecord> CPlayerRegistry::At(std::size_t i) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (i >= m_aRecords.size())
        throw std::out_of_range("no simulated adapter " + std::to_string(i) + " (" +
                                std::to_string(m_aRecords.size()) + " constructed)");
    return m_aRecords[i];
}

std::size_t CPlayerRegistry::Count() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_aRecords.size();
}

std::size_t CPlayerRegistry::Alive() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::size_t uAlive = 0;
    for (const std::shared_ptr<CPlayerRecord>& pRecord : m_aRecords)
        if (pRecord->IsAlive())
            ++uAlive;
    return uAlive;
}

}  // namespace Cinecast
}  // namespace DeviceAPI
