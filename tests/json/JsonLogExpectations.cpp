#include "JsonLogExpectations.h"

#include <dlog.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

namespace {

const char kFile[] = "TetherJson.cpp";
// Every catch of the class logs through this one call form.
const char kExceptionCall[] = "JSON_LOG_EXCEPTION(e);";

std::string CommonFrame(const std::string& strFunc, int iLine, const std::string& strPayload)
{
    std::ostringstream out;
    out << kFile << ": " << strFunc << "(" << iLine << ") > \033[31m[" << strFunc << ":" << iLine
        << "] [Thread Id:[" << syscall(SYS_gettid) << "]] " << strPayload << "\033[0m";
    return out.str();
}

std::string ShortFrame(const std::string& strFunc, int iLine, const std::string& strWhat)
{
    std::ostringstream out;
    out << kFile << ": " << strFunc << "(" << iLine << ") > [" << strFunc
        << "] Exception Handled by : " << strWhat;
    return out.str();
}

::testing::AssertionResult MatchOneOf(const Dlog::CLogLine& line, int iPriority,
                                      const std::vector<int>& vecCandidates,
                                      std::string (*pfnFrame)(const std::string&, int, const std::string&),
                                      const std::string& strFunc, const std::string& strPayload,
                                      int* piLine)
{
    if (line.m_iPriority != iPriority)
        return ::testing::AssertionFailure() << "priority " << line.m_iPriority << " in: " << line.m_strText;
    if (line.m_bHasTag)
        return ::testing::AssertionFailure() << "tag \"" << line.m_strTag << "\" in: " << line.m_strText;
    if (vecCandidates.empty())
        return ::testing::AssertionFailure() << "no source line holds the call";
    for (int iLine : vecCandidates) {
        if (line.m_strText == pfnFrame(strFunc, iLine, strPayload)) {
            if (piLine != nullptr)
                *piLine = iLine;
            return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << "line\n  " << line.m_strText << "\nis not\n  "
                                         << pfnFrame(strFunc, vecCandidates.front(), strPayload)
                                         << "\n(or the same from another of " << vecCandidates.size()
                                         << " source lines)";
}

}  // namespace

std::vector<int> SourceLinesContaining(const std::string& strNeedle)
{
    std::ifstream file(TETHER_JSON_SOURCE);
    EXPECT_TRUE(file.is_open()) << TETHER_JSON_SOURCE;
    std::vector<int> vecLines;
    std::string strLine;
    for (int iLine = 1; std::getline(file, strLine); ++iLine)
        if (strLine.find(strNeedle) != std::string::npos)
            vecLines.push_back(iLine);
    return vecLines;
}

::testing::AssertionResult IsWarnLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                      const std::string& strFormat, const std::string& strPayload,
                                      int* piLine)
{
    return MatchOneOf(line, DLOG_WARN, SourceLinesContaining("\"" + strFormat + "\""), CommonFrame,
                      strFunc, strPayload, piLine);
}

::testing::AssertionResult IsExceptionLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                           const std::string& strWhat)
{
    return MatchOneOf(line, DLOG_ERROR, SourceLinesContaining(kExceptionCall), ShortFrame, strFunc,
                      strWhat, nullptr);
}
