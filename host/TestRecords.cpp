#include "TestRecords.h"

namespace Kite {

std::string EncodeRecord(const std::vector<std::string>& aFields)
{
    std::string strLine;
    for (std::size_t i = 0; i < aFields.size(); ++i) {
        if (i > 0)
            strLine += '\t';
        for (char c : aFields[i]) {
            switch (c) {
            case '\\': strLine += "\\\\"; break;
            case '\t': strLine += "\\t"; break;
            case '\n': strLine += "\\n"; break;
            default: strLine += c;
            }
        }
    }
    strLine += '\n';
    return strLine;
}

std::vector<std::string> DecodeRecord(const std::string& strLine)
{
    std::vector<std::string> aFields(1);
    for (std::size_t i = 0; i < strLine.size(); ++i) {
        char c = strLine[i];
        if (c == '\t') {
            aFields.emplace_back();
        } else if (c == '\\' && i + 1 < strLine.size()) {
            char cNext = strLine[++i];
            aFields.back() += cNext == 't' ? '\t' : cNext == 'n' ? '\n' : cNext;
        } else {
            aFields.back() += c;
        }
    }
    return aFields;
}

}  // namespace Kite
