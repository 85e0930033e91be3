// Where the log service's lines go: configured by the host and by tests,
// never by the code that logs.
#ifndef DLOG_SINK_H
#define DLOG_SINK_H

#include <cstdio>
#include <string>
#include <utility>
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

// Which lines the destination takes, in the form of the platform's log
// reader: filters separated by white space, each TAG:P (TAG's lines of
// priority P and above), TAG (all of TAG's lines), *:P or * (the lines of
// every tag that no filter names). P is one of V D I W E F, or S for none.
// A line whose tag no filter names, without *, is left out; a line without
// a tag is named by * only.
class CLogFilter {
public:
    // Takes every line.
    CLogFilter() = default;
    // False with a one-line reason for an unknown form or priority letter.
    bool Parse(const std::string& strFilters, std::string& strError);
    bool Takes(int iPriority, const std::string& strTag) const;

private:
    std::vector<std::pair<std::string, int>> m_aTags;  // a tag and its lowest priority
    int m_iOthers = 0;                                 // the lowest priority of the rest
};
// The destination's filter; captured lines are all kept whatever it says.
void SetFilter(const CLogFilter& filter);

// Whether the colour escapes in lines (ESC [ ... m) reach the destination;
// they do until told otherwise. Captured lines always keep them.
void SetKeepColour(bool bKeep);
// The text without its colour escapes.
std::string WithoutColour(const std::string& strText);

// Keeps every line in memory until taken; works beside the destination.
void StartCapture();
void StopCapture();
std::vector<CLogLine> TakeCaptured();

// The "P/TAG(PID): MESSAGE" form of a line.
std::string FormatLine(const CLogLine& line, int iPid);

}  // namespace Dlog

#endif
