// The one process-wide state behind the log service: where lines go and
// what has been captured.
#ifndef DLOG_LOG_STATE_H
#define DLOG_LOG_STATE_H

#include "LogFilter.h"
#include "LogLine.h"

#include <atomic>
#include <cstdio>
#include <mutex>
#include <vector>

namespace Dlog {

// True while a destination or a capture would take a line; read without
// the lock, and without reaching the state, so that an unheard line costs
// a load and no formatting.
extern std::atomic<bool> g_bListening;

class CLogState {
public:
    static CLogState& Instance();

    void SetDestination(std::FILE* pStream);
    void SetFilter(const CLogFilter& filter);
    void SetKeepColour(bool bKeep);
    void SetCapturing(bool bCapturing);
    std::vector<CLogLine> TakeCaptured();

    // Writes the whole line under the lock, so lines from many threads never
    // interleave. Returns false when nobody was listening after all (or the
    // destination's filter left the line out and nothing captures).
    bool Publish(CLogLine&& line);

private:
    CLogState() = default;
    void UpdateListening();  // caller holds m_mutex

    std::mutex m_mutex;
    std::FILE* m_pDestination = nullptr;
    CLogFilter m_filter;
    bool m_bKeepColour = true;
    bool m_bCapturing = false;
    std::vector<CLogLine> m_vecCaptured;
};

}  // namespace Dlog

#endif
