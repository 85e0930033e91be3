// Where the log service's lines go: configured by the host and by tests,
// never by the code that logs.
#ifndef DLOG_SINK_H
#define DLOG_SINK_H

#include <cstdio>
#include <vector>

#include "LogFilter.h"
#include "LogLine.h"

namespace Dlog {

// Lines are written to this stream (stderr, a file), or nowhere when null.
// The stream stays owned by the caller.
void SetDestination(std::FILE* pStream);

// The destination's filter; captured lines are all kept whatever it says.
void SetFilter(const CLogFilter& filter);

// Whether the colour escapes in lines (ESC [ ... m) reach the destination;
// they do until told otherwise. Captured lines always keep them.
void SetKeepColour(bool bKeep);

// Keeps every line in memory until taken; works beside the destination.
void StartCapture();
void StopCapture();
std::vector<CLogLine> TakeCaptured();

}  // namespace Dlog

#endif
