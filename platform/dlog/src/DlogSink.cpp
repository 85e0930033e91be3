#include "DlogSink.h"

#include "LogState.h"

namespace Dlog {

void SetDestination(std::FILE* pStream)
{
    CLogState::Instance().SetDestination(pStream);
}

void SetFilter(const CLogFilter& filter)
{
    CLogState::Instance().SetFilter(filter);
}

void SetKeepColour(bool bKeep)
{
    CLogState::Instance().SetKeepColour(bKeep);
}

void StartCapture()
{
    CLogState::Instance().SetCapturing(true);
}

void StopCapture()
{
    CLogState::Instance().SetCapturing(false);
}

std::vector<CLogLine> TakeCaptured()
{
    return CLogState::Instance().TakeCaptured();
}

}  // namespace Dlog
