#include "SimRecord.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

bool CSimRecord::Record(const std::string& strOperation, const std::string& strCall)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_aCalls.push_back(strCall);
    auto it = m_mapAnswers.find(strOperation);
    return it == m_mapAnswers.end() || it->second;
}

std::vector<std::string> CSimRecord::Calls() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_aCalls;
}

void CSimRecord::SetAnswer(const std::string& strOperation, bool bValue)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_mapAnswers[strOperation] = bValue;
}

void CSimRecord::SetReport(const CReport& stReport)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (stReport.m_ulDuration)
        m_ulDuration = *stReport.m_ulDuration;
    if (stReport.m_ullPosition)
        m_ullPosition = *stReport.m_ullPosition;
    if (stReport.m_iState)
        m_iState = *stReport.m_iState;
}

unsigned long CSimRecord::Duration() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_ulDuration;
}

unsigned long long CSimRecord::Position() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_ullPosition;
}

int CSimRecord::State() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_iState;
}

void CSimRecord::Attach(const CLive& live)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_live = live;
}

void CSimRecord::Detach()
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_live = CLive();
}

bool CSimRecord::IsAlive() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_live.m_pBackend != nullptr;
}

CSimRecord::CLive CSimRecord::Live() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_live;
}

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
