#include "CallFormat.h"

#include <cstdio>

namespace DeviceAPI {
namespace Cinecast {

std::string FormatBool(bool bValue)
{
    return bValue ? "true" : "false";
}

std::string FormatInteger(long long llValue)
{
    return std::to_string(llValue);
}

std::string FormatString(const std::string& strValue)
{
    std::string strText = "\"";
    for (char c : strValue) {
        unsigned char uc = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            strText += '\\';
            strText += c;
        } else if (uc < 0x20) {
            char szEscape[8];
            std::snprintf(szEscape, sizeof szEscape, "\\u%04x", uc);
            strText += szEscape;
        } else {
            strText += c;
        }
    }
    strText += '"';
    return strText;
}

std::string FormatPointer(const void* pValue)
{
    // Only presence matters to a reader; an address would make records differ
    // from run to run.
    return pValue ? "pointer" : "null";
}

std::string CallText(const char* szName, std::initializer_list<std::string> aArgs)
{
    std::string strText = szName;
    strText += '(';
    bool bFirst = true;
    for (const std::string& strArg : aArgs) {
        if (!bFirst)
            strText += ',';
        strText += strArg;
        bFirst = false;
    }
    strText += ')';
    return strText;
}

}  // namespace Cinecast
}  // namespace DeviceAPI
