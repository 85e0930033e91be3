#include "JsonLogExpectations.h"

#include <dlog.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>

namespace {

// TetherJson.cpp's lines, numbered from 1.
const std::vector<std::string>& SourceLines()
{
    static const std::vector<std::string> s_vecLines = [] {
        std::ifstream file(TETHER_JSON_SOURCE);
        std::vector<std::string> vecLines{""};
        for (std::string strLine; std::getline(file, strLine);)
            vecLines.push_back(strLine);
        return vecLines;
    }();
    return s_vecLines;
}

// The source line number that a logged frame names.
int NamedLine(const Dlog::CLogLine& line)
{
    int iLine = 0;
    std::sscanf(line.m_strText.c_str(), "TetherJson.cpp: %*[^(](%d)", &iLine);
    return iLine;
}

::testing::AssertionResult Matches(const Dlog::CLogLine& line, int iPriority, const std::string& strExpected,
                                   int iLine, const std::string& strCall)
{
    if (line.m_iPriority != iPriority || line.m_bHasTag || line.m_strText != strExpected)
        return ::testing::AssertionFailure() << "priority " << line.m_iPriority << (line.m_bHasTag ? " tagged" : "")
                                             << " line\n  " << line.m_strText << "\nis not priority " << iPriority
                                             << " untagged\n  " << strExpected;
    const std::vector<std::string>& vecSource = SourceLines();
    if (iLine <= 0 || static_cast<size_t>(iLine) >= vecSource.size() ||
        vecSource[iLine].find(strCall) == std::string::npos)
        return ::testing::AssertionFailure() << "source line " << iLine << " does not hold " << strCall;
    return ::testing::AssertionSuccess();
}

}  // namespace

::testing::AssertionResult IsWarnLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                      const std::string& strFormat, const std::string& strPayload, int* piLine)
{
    const int iLine = NamedLine(line);
    if (piLine != nullptr)
        *piLine = iLine;
    const std::string strAt = strFunc + ":" + std::to_string(iLine);
    return Matches(line, DLOG_WARN,
                   "TetherJson.cpp: " + strFunc + "(" + std::to_string(iLine) + ") > \033[31m[" + strAt +
                       "] [Thread Id:[" + std::to_string(syscall(SYS_gettid)) + "]] " + strPayload + "\033[0m",
                   iLine, "\"" + strFormat + "\"");
}

::testing::AssertionResult IsRefusalLine(const Dlog::CLogLine& line, const std::string& strFunc, int iType,
                                         int* piLine)
{
    const std::string strText = strFunc + " fail. jsonvalue is invalid type[";
    return IsWarnLine(line, strFunc, strText + "%d].", strText + std::to_string(iType) + "].", piLine);
}

::testing::AssertionResult IsExceptionLine(const Dlog::CLogLine& line, const std::string& strFunc,
                                           const std::string& strWhat)
{
    const int iLine = NamedLine(line);
    return Matches(line, DLOG_ERROR,
                   "TetherJson.cpp: " + strFunc + "(" + std::to_string(iLine) + ") > [" + strFunc +
                       "] Exception Handled by : " + strWhat,
                   iLine, "JSON_LOG_EXCEPTION(e);");
}
