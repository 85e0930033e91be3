#include "LogFilter.h"

#include "dlog.h"

namespace Dlog {

namespace {

// The priority of a letter of V D I W E F S (either case), or 0.
int PriorityOfLetter(const std::string& strLetter)
{
    static const char s_szLetters[] = "VDIWEFS";  // DLOG_VERBOSE to DLOG_SILENT
    if (strLetter.size() != 1)
        return 0;
    char c = strLetter[0];
    if (c >= 'a' && c <= 'z')
        c = static_cast<char>(c - 'a' + 'A');
    for (int i = 0; s_szLetters[i] != '\0'; ++i) {
        if (s_szLetters[i] == c)
            return DLOG_VERBOSE + i;
    }
    return 0;
}

}  // namespace

bool CLogFilter::Parse(const std::string& strFilters, std::string& strError)
{
    m_aTags.clear();
    m_iOthers = DLOG_SILENT;
    bool bAny = false;
    std::size_t uAt = 0;
    while ((uAt = strFilters.find_first_not_of(" \t", uAt)) != std::string::npos) {
        std::size_t uEnd = strFilters.find_first_of(" \t", uAt);
        std::string strFilter = strFilters.substr(uAt, uEnd == std::string::npos ? std::string::npos : uEnd - uAt);
        uAt = uEnd == std::string::npos ? strFilters.size() : uEnd;
        std::size_t uColon = strFilter.find(':');
        std::string strTag = strFilter.substr(0, uColon);
        int iPriority = DLOG_VERBOSE;
        if (uColon != std::string::npos) {
            std::string strLetter = strFilter.substr(uColon + 1);
            if (strTag.empty() || strLetter.empty() || strLetter.find(':') != std::string::npos) {
                strError = "unknown filter '" + strFilter + "': a filter is TAG:P, TAG, *:P or *";
                return false;
            }
            iPriority = PriorityOfLetter(strLetter);
            if (iPriority == 0) {
                strError = "unknown priority '" + strLetter + "' in '" + strFilter + "': one of V D I W E F S";
                return false;
            }
        }
        if (strTag == "*")
            m_iOthers = iPriority;
        else
            m_aTags.emplace_back(strTag, iPriority);
        bAny = true;
    }
    if (!bAny) {
        strError = "no filter given";
        return false;
    }
    return true;
}

bool CLogFilter::Takes(int iPriority, const std::string& strTag) const
{
    // The last filter naming the tag decides.
    for (auto it = m_aTags.rbegin(); it != m_aTags.rend(); ++it) {
        if (it->first == strTag)
            return iPriority >= it->second;
    }
    return iPriority >= m_iOthers;
}

}  // namespace Dlog
