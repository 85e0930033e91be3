// Where the log service writes during the run (--log).
#ifndef KITE_LOG_DESTINATION_H
#define KITE_LOG_DESTINATION_H

#include <DlogSink.h>
#include <cstdio>
#include <string>

namespace Kite {

class CLogDestination {
public:
    CLogDestination() = default;
    ~CLogDestination();

    // "-" is stderr; any other name a file, truncated. The filter picks the
    // lines written. A file gets every line byte for byte; on stderr colour
    // escapes are kept "always", "never" or on a terminal only ("auto").
    // False with a reason when the file cannot be opened.
    bool Open(const std::string& strName, const Dlog::CLogFilter& filter, const std::string& strColour,
              std::string& strError);
    // Stops the log service writing, and closes the file.
    void Close();

private:
    CLogDestination(const CLogDestination&) = delete;
    CLogDestination& operator=(const CLogDestination&) = delete;

    std::FILE* m_pFile = nullptr;
    bool m_bOwnsFile = false;
};

}  // namespace Kite

#endif
