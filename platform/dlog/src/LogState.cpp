#include "LogState.h"

#include <unistd.h>

namespace Dlog {

CLogState& CLogState::Instance()
{
    // Never destroyed: threads may still log while the process exits.
    static CLogState* s_pState = new CLogState();
    return *s_pState;
}

void CLogState::UpdateListening()
{
    m_bListening.store(m_pDestination != nullptr || m_bCapturing, std::memory_order_release);
}

void CLogState::SetDestination(std::FILE* pStream)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pDestination = pStream;
    UpdateListening();
}

void CLogState::SetCapturing(bool bCapturing)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bCapturing = bCapturing;
    if (bCapturing)
        m_vecCaptured.clear();
    UpdateListening();
}

std::vector<CLogLine> CLogState::TakeCaptured()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<CLogLine> vecLines;
    vecLines.swap(m_vecCaptured);
    return vecLines;
}

bool CLogState::Publish(CLogLine&& line)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_pDestination == nullptr && !m_bCapturing)
        return false;
    if (m_pDestination != nullptr) {
        std::string strLine = FormatLine(line, static_cast<int>(getpid()));
        strLine += '\n';
        std::fwrite(strLine.data(), 1, strLine.size(), m_pDestination);
        std::fflush(m_pDestination);
    }
    if (m_bCapturing)
        m_vecCaptured.push_back(std::move(line));
    return true;
}

}  // namespace Dlog
