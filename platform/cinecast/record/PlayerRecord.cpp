#include "PlayerRecord.h"

namespace DeviceAPI {
namespace Cinecast {

bool CPlayerRecord::Record(const std::string& strOperation, const std::string& strCall)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_aCalls.push_back(strCall);
    auto it = m_mapAnswers.find(strOperation);
    return it == m_mapAnswers.end() || it->second;
}

std::vector<std::string> CPlayerRecord::Calls() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_aCalls;
}

void CPlayerRecord::SetAnswer(const std::string& strOperation, bool bValue)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_mapAnswers[strOperation] = bValue;
}

void CPlayerRecord::SetReport(std::optional<unsigned long> ulDuration, std::optional<unsigned long long> ullPosition,
                              std::optional<int> iState)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (ulDuration)
        m_ulDuration = *ulDuration;
    if (ullPosition)
        m_ullPosition = *ullPosition;
    if (iState)
        m_iState = *iState;
}

unsigned long CPlayerRecord::Duration() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_ulDuration;
}

unsigned long long CPlayerRecord::Position() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_ullPosition;
}

int CPlayerRecord::State() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_iState;
}

void CPlayerRecord::Attach(const CLive& live)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_live = live;
}

void CPlayerRecord::Detach()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_live = CLive();
}

bool CPlayerRecord::IsAlive() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_live.m_pBackend != nullptr;
}

CPlayerRecord::CLive CPlayerRecord::Live() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_live;
}

}  // namespace Cinecast
}  // namespace DeviceAPI
