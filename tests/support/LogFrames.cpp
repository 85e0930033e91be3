#include "LogFrames.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <utility>

namespace TestSupport {

namespace {

const char* ColourOf(int iPriority)
{
    switch (iPriority) {
    case 3: return "\033[33m";
    case 4: return "\033[32m";
    case 5: return "\033[31m";
    }
    return nullptr;
}

bool StartsWith(const std::string& strText, std::size_t uAt, const std::string& strPrefix)
{
    return strText.compare(uAt, strPrefix.size(), strPrefix) == 0;
}

// The lines of src/Tether/<file>, read once.
const std::vector<std::string>& SourceOf(const std::string& strFile)
{
    static std::map<std::string, std::vector<std::string>> s_files;
    auto found = s_files.find(strFile);
    if (found != s_files.end())
        return found->second;
    std::vector<std::string>& vecLines = s_files[strFile];
    std::ifstream in(std::string(TETHER_SOURCE_DIR) + "/src/Tether/" + strFile);
    for (std::string strLine; std::getline(in, strLine);)
        vecLines.push_back(strLine);
    return vecLines;
}

// The first string literal of a source line, "\n" read as a newline and
// any other escaped character as itself; false when there is none.
bool FirstLiteral(const std::string& strLine, std::string& strText)
{
    const std::size_t uQuote = strLine.find('"');
    if (uQuote == std::string::npos)
        return false;
    strText.clear();
    std::size_t uAt = uQuote + 1;
    for (; uAt < strLine.size() && strLine[uAt] != '"'; ++uAt) {
        if (strLine[uAt] == '\\' && ++uAt < strLine.size())
            strText += strLine[uAt] == 'n' ? '\n' : strLine[uAt];
        else
            strText += strLine[uAt];
    }
    return uAt < strLine.size();
}

// The literal pieces of a printf format, between its conversions; "%%" is a
// literal "%", and a conversion without its letter (such as "%ll)") ends at
// its length modifiers.
std::vector<std::string> LiteralPieces(const std::string& strFormat)
{
    std::vector<std::string> vecPieces(1);
    for (std::size_t i = 0; i < strFormat.size(); ++i) {
        if (strFormat[i] != '%') {
            vecPieces.back() += strFormat[i];
            continue;
        }
        if (i + 1 < strFormat.size() && strFormat[i + 1] == '%') {
            vecPieces.back() += '%';
            ++i;
            continue;
        }
        while (i + 1 < strFormat.size() && std::strchr("-+ #0123456789.hlLzjt", strFormat[i + 1]) != nullptr)
            ++i;
        if (i + 1 < strFormat.size() && std::strchr("diouxXfFeEgGaAcsp", strFormat[i + 1]) != nullptr)
            ++i;
        vecPieces.emplace_back();
    }
    return vecPieces;
}

// Whether the payload is what the format writes for some arguments: its
// literal pieces in order, the first at the start and the last at the end.
bool FormatMatches(const std::string& strFormat, const std::string& strPayload)
{
    const std::vector<std::string> vecPieces = LiteralPieces(strFormat);
    const std::string& strLast = vecPieces.back();
    if (vecPieces.size() == 1 || strPayload.size() < strLast.size())
        return strPayload == strLast;
    const std::size_t uEnd = strPayload.size() - strLast.size();
    std::size_t uAt = 0;
    for (std::size_t i = 0; i + 1 < vecPieces.size(); ++i) {
        const std::size_t uFound = strPayload.find(vecPieces[i], uAt);
        if (uFound == std::string::npos || (i == 0 && uFound != 0) || uFound + vecPieces[i].size() > uEnd)
            return false;
        uAt = uFound + vecPieces[i].size();
    }
    return StartsWith(strPayload, uEnd, strLast);
}

}  // namespace

bool ParseFrame(const Dlog::CLogLine& line, CFrame& frame)
{
    const std::string& strText = line.m_strText;
    char szFile[64] = "";
    char szFunction[64] = "";
    int iLine = 0;
    int iAt = 0;
    if (std::sscanf(strText.c_str(), "%63[^: ]: %63[~A-Za-z_](%d) > %n", szFile, szFunction, &iLine, &iAt) != 3 ||
        iAt == 0)
        return false;
    frame = CFrame{line.m_iPriority, szFile, szFunction, iLine, 0, ""};
    const std::size_t uAt = static_cast<std::size_t>(iAt);
    const std::string strShort = "[" + frame.m_strFunction + "] ";
    if (line.m_iPriority == 6) {
        if (!StartsWith(strText, uAt, strShort))
            return false;
        frame.m_strPayload = strText.substr(uAt + strShort.size());
        return true;
    }
    const char* pszColour = ColourOf(line.m_iPriority);
    const std::string strNamed = "[" + frame.m_strFunction + ":" + std::to_string(iLine) + "] [Thread Id:[";
    const std::string strReset = "\033[0m";
    if (pszColour == nullptr || !StartsWith(strText, uAt, pszColour + strNamed))
        return false;
    const std::size_t uId = uAt + std::strlen(pszColour) + strNamed.size();
    const std::size_t uIdEnd = strText.find("]] ", uId);
    if (uIdEnd == std::string::npos || uIdEnd + 3 + strReset.size() > strText.size() ||
        strText.compare(strText.size() - strReset.size(), strReset.size(), strReset) != 0)
        return false;
    frame.m_iThreadId = std::atoi(strText.substr(uId, uIdEnd - uId).c_str());
    frame.m_strPayload = strText.substr(uIdEnd + 3, strText.size() - strReset.size() - uIdEnd - 3);
    return true;
}

::testing::AssertionResult NameTheirStatements(const std::vector<Dlog::CLogLine>& vecLines)
{
    std::set<std::pair<std::string, int>> setNamed;
    for (const Dlog::CLogLine& line : vecLines) {
        CFrame frame;
        if (!ParseFrame(line, frame))
            return ::testing::AssertionFailure() << "out of frame: " << line.m_strText;
        const std::string strPlace = frame.m_strFile + ":" + std::to_string(frame.m_iLine);
        if (!setNamed.insert({frame.m_strFile, frame.m_iLine}).second)
            return ::testing::AssertionFailure() << strPlace << " named twice, again for " << frame.m_strPayload;
        const std::vector<std::string>& vecSource = SourceOf(frame.m_strFile);
        std::string strFormat;
        if (frame.m_iLine < 1 || static_cast<std::size_t>(frame.m_iLine) > vecSource.size() ||
            !FirstLiteral(vecSource[static_cast<std::size_t>(frame.m_iLine) - 1], strFormat))
            return ::testing::AssertionFailure() << strPlace << " holds no format, for " << frame.m_strPayload;
        if (!FormatMatches(strFormat, frame.m_strPayload))
            return ::testing::AssertionFailure() << strPlace << " writes \"" << strFormat << "\", not \""
                                                 << frame.m_strPayload << "\"";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace TestSupport
