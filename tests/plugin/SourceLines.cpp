#include "SourceLines.h"

#include <fstream>
#include <stdexcept>
#include <sys/syscall.h>
#include <unistd.h>

namespace TetherTest {

namespace {
std::vector<std::string> ReadSource(const std::string& strFile)
{
    std::string strPath = std::string(TETHER_SOURCE_DIR) + "/src/Tether/" + strFile;
    std::ifstream in(strPath);
    if (!in)
        throw std::runtime_error("cannot read " + strPath);
    std::vector<std::string> vecLines;
    std::string strLine;
    while (std::getline(in, strLine))
        vecLines.push_back(strLine);
    return vecLines;
}

const char* ColourOf(int iPriority)
{
    switch (iPriority) {
    case 3: return "\033[33m";  // debug: yellow
    case 4: return "\033[32m";  // info: green
    case 5: return "\033[31m";  // warning: red
    }
    throw std::invalid_argument("no colour for priority " + std::to_string(iPriority));
}

std::string Frame(const std::string& strFile, const std::string& strFunction, int iLine,
                  int iPriority, int iThreadId, const std::string& strPayload)
{
    std::string strLine = std::to_string(iLine);
    return strFile + ": " + strFunction + "(" + strLine + ") > " + ColourOf(iPriority) + "[" +
           strFunction + ":" + strLine + "] [Thread Id:[" + std::to_string(iThreadId) + "]] " +
           strPayload + "\033[0m";
}
}  // namespace

bool operator==(const CExpectedLine& a, const CExpectedLine& b)
{
    return a.m_iPriority == b.m_iPriority && a.m_strText == b.m_strText;
}

std::ostream& operator<<(std::ostream& out, const CExpectedLine& line)
{
    std::string strShown;
    for (char c : line.m_strText)
        strShown += c == '\033' ? std::string("\\e") : std::string(1, c);
    return out << line.m_iPriority << " " << strShown;
}

std::vector<CExpectedLine> ExpectedPath(const std::string& strFile, const std::string& strFunction,
                                        std::initializer_list<CExpectedCall> aCalls)
{
    int iThreadId = static_cast<int>(syscall(SYS_gettid));
    std::vector<std::string> vecSource = ReadSource(strFile);
    std::string strDefinition = "CPlayerAgent::" + strFunction + "(";
    size_t uPos = 0;
    while (uPos < vecSource.size() && vecSource[uPos].find(strDefinition) == std::string::npos)
        ++uPos;
    if (uPos == vecSource.size())
        throw std::runtime_error(strDefinition + " not found in " + strFile);

    // The frame names a constructor by its class and a destructor by "~class".
    std::string strFrameName = strFunction;
    std::vector<CExpectedLine> vecLines;
    for (const CExpectedCall& call : aCalls) {
        ++uPos;
        // Only a log call's own line counts.
        while (uPos < vecSource.size() &&
               (vecSource[uPos].find(call.m_strNeedle) == std::string::npos ||
                vecSource[uPos].find("LOG_") == std::string::npos))
            ++uPos;
        if (uPos == vecSource.size())
            throw std::runtime_error("'" + call.m_strNeedle + "' not found after " + strDefinition);
        vecLines.push_back({call.m_iPriority, Frame(strFile, strFrameName, static_cast<int>(uPos + 1),
                                                    call.m_iPriority, iThreadId, call.m_strPayload)});
    }
    return vecLines;
}

}  // namespace TetherTest
