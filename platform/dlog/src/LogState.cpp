#include "LogState.h"

#include <pthread.h>
#include <unistd.h>

namespace Dlog {

std::atomic<bool> g_bListening{false};

namespace {

// The process id of the lines. It changes only in a forked child, where
// this asks again: a system call per line is most of a line's cost.
std::atomic<int> s_iPid{0};

void OnForkChild()
{
    s_iPid.store(0, std::memory_order_relaxed);
}

struct CForkWatch {
    CForkWatch() { pthread_atfork(nullptr, nullptr, OnForkChild); }
} s_forkWatch;

int CurrentPid()
{
    int iPid = s_iPid.load(std::memory_order_relaxed);
    if (iPid == 0) {
        iPid = static_cast<int>(getpid());
        s_iPid.store(iPid, std::memory_order_relaxed);
    }
    return iPid;
}

}  // namespace

CLogState& CLogState::Instance()
{
    // Never destroyed: threads may still log while the process exits.
    static CLogState* s_pState = new CLogState();
    return *s_pState;
}

void CLogState::UpdateListening()
{
    g_bListening.store(m_pDestination != nullptr || m_bCapturing, std::memory_order_release);
}

void CLogState::SetDestination(std::FILE* pStream)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pDestination = pStream;
    UpdateListening();
}

void CLogState::SetFilter(const CLogFilter& filter)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_filter = filter;
}

void CLogState::SetKeepColour(bool bKeep)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bKeepColour = bKeep;
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
    bool bWrite = m_pDestination != nullptr && m_filter.Takes(line.m_iPriority, line.m_strTag);
    if (!bWrite && !m_bCapturing)
        return false;
    if (bWrite) {
        std::string strLine = FormatLine(line, CurrentPid());
        if (!m_bKeepColour)
            strLine = WithoutColour(strLine);
        strLine += '\n';
        std::fwrite(strLine.data(), 1, strLine.size(), m_pDestination);
        std::fflush(m_pDestination);
    }
    if (m_bCapturing)
        m_vecCaptured.push_back(std::move(line));
    return true;
}

}  // namespace Dlog
