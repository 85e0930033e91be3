#include "runtime/LogDestination.h"

#include <DlogSink.h>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace Kite {

CLogDestination::~CLogDestination()
{
    Close();
}

bool CLogDestination::Open(const std::string& strName, const Dlog::CLogFilter& filter, const std::string& strColour,
                           std::string& strError)
{
    Close();
    if (strName == "-") {
        m_pFile = stderr;
        m_bOwnsFile = false;
    } else {
        m_pFile = std::fopen(strName.c_str(), "w");
        if (m_pFile == nullptr) {
            strError = "cannot open log " + strName + ": " + std::strerror(errno);
            return false;
        }
        m_bOwnsFile = true;
    }
    Dlog::SetFilter(filter);
    // A file is read by the platform's log tools, which expect each message
    // as the plug-in wrote it; the choice is only stderr's.
    Dlog::SetKeepColour(m_bOwnsFile || strColour == "always" || (strColour == "auto" && isatty(fileno(m_pFile))));
    Dlog::SetDestination(m_pFile);
    return true;
}

void CLogDestination::Close()
{
    if (m_pFile == nullptr)
        return;
    Dlog::SetDestination(nullptr);
    Dlog::SetFilter(Dlog::CLogFilter());
    Dlog::SetKeepColour(true);
    if (m_bOwnsFile)
        std::fclose(m_pFile);
    m_pFile = nullptr;
    m_bOwnsFile = false;
}

}  // namespace Kite
