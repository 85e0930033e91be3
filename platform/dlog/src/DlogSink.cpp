#include "DlogSink.h"

#include "LogState.h"

namespace Dlog {

namespace {
char PriorityLetter(int iPriority)
{
    static const char s_szLetters[] = "VDIWEF";  // priorities 2 to 7
    if (iPriority < 2 || iPriority > 7)
        return '?';
    return s_szLetters[iPriority - 2];
}
}  // namespace

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

std::string FormatLine(const CLogLine& line, int iPid)
{
    std::string strLine;
    strLine.reserve(line.m_strTag.size() + line.m_strText.size() + 16);
    strLine += PriorityLetter(line.m_iPriority);
    strLine += '/';
    strLine += line.m_strTag;
    strLine += '(';
    strLine += std::to_string(iPid);
    strLine += "): ";
    strLine += line.m_strText;
    return strLine;
}

}  // namespace Dlog
