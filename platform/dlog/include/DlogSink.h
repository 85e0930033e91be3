// Where the log service's lines go: configured by the host and by tests,
// never by the code that logs.
#ifndef DLOG_SINK_H
#define DLOG_SINK_H

#include <cstdio>
#include <string>
#include <vector>

namespace Dlog {

struct CLogLine {
    int m_iPriority;
    bool m_bHasTag;       // false when the caller passed a null tag
    std::string m_strTag;
    std::string m_strText;  // the formatted message, without the "P/TAG(PID): " prefix
};

// Lines are written to this stream (stderr, a file), or nowhere when null.
// The stream stays owned by the caller.
void SetDestination(std::FILE* pStream);

// Keeps every line in memory until taken; works beside the destination.
void StartCapture();
void StopCapture();
std::vector<CLogLine> TakeCaptured();

// The "P/TAG(PID): MESSAGE" form of a line.
std::string FormatLine(const CLogLine& line, int iPid);

}  // namespace Dlog

#endif
