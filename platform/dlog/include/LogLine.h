// One line of the log service, and its text forms.
#ifndef DLOG_LOG_LINE_H
#define DLOG_LOG_LINE_H

#include <string>

namespace Dlog {

struct CLogLine {
    int m_iPriority;
    bool m_bHasTag;       // false when the caller passed a null tag
    std::string m_strTag;
    std::string m_strText;  // the formatted message, without the "P/TAG(PID): " prefix
};

// The "P/TAG(PID): MESSAGE" form of a line.
std::string FormatLine(const CLogLine& line, int iPid);

// The text without its colour escapes (ESC [ ... m).
std::string WithoutColour(const std::string& strText);

}  // namespace Dlog

#endif
