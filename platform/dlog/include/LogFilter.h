// Which lines a destination of the log service takes.
#ifndef DLOG_LOG_FILTER_H
#define DLOG_LOG_FILTER_H

#include <string>
#include <utility>
#include <vector>

namespace Dlog {

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

}  // namespace Dlog

#endif
