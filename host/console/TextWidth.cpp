#include "console/TextWidth.h"

#include <algorithm>

namespace Kite {

std::size_t TextWidth(const std::string& strText)
{
    std::size_t uWidth = 0;
    for (unsigned char c : strText) {
        if ((c & 0xC0) != 0x80)
            uWidth += (c >= 0xF0) ? 2 : 1;
    }
    return uWidth;
}

std::string Spaces(int iCount)
{
    return std::string(static_cast<std::size_t>(std::max(iCount, 0)), ' ');
}

std::string Plural(uint64_t uCount, const char* pszWhat)
{
    return std::to_string(uCount) + " " + pszWhat + (uCount == 1 ? "" : "s");
}

bool IsIdentifier(const std::string& strKey)
{
    if (strKey.empty() || (strKey[0] >= '0' && strKey[0] <= '9'))
        return false;
    return std::all_of(strKey.begin(), strKey.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
    });
}

}  // namespace Kite
