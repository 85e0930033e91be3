#include "LogLine.h"

namespace Dlog {

namespace {
char PriorityLetter(int iPriority)
{
    static const char s_szLetters[] = "VDIWEF";  // priorities 2 to 7
    if (iPriority < 2 || iPriority > 7)
        return '?';
    return s_szLetters[iPriority - 2];
}
}  // namespace

std::string FormatLine(const CLogLine& line, int iPid)
{
    std::string strLine;
    strLine.reserve(line.m_strTag.size() + line.m_strText.size() + 16);
    strLine += PriorityLetter(line.m_iPriority);
    strLine += '/';
    strLine += line.m_strTag;
    strLine += '(';
    strLine += std::to_string(iPid);
    strLine += "): ";
    strLine += line.m_strText;
    return strLine;
}

std::string WithoutColour(const std::string& strText)
{
    std::string strOut;
    strOut.reserve(strText.size());
    for (std::size_t i = 0; i < strText.size(); ++i) {
        if (strText[i] == '\x1b' && i + 1 < strText.size() && strText[i + 1] == '[') {
            std::size_t uEnd = strText.find_first_not_of("0123456789;", i + 2);
            if (uEnd != std::string::npos && strText[uEnd] == 'm') {
                i = uEnd;
                continue;
            }
        }
        strOut += strText[i];
    }
    return strOut;
}

}  // namespace Dlog
