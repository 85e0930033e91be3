// The text of one recorded call: "name(arg,...)".
#ifndef CINECAST_CALL_FORMAT_H
#define CINECAST_CALL_FORMAT_H

#include <initializer_list>
#include <string>

namespace DeviceAPI {
namespace Cinecast {

std::string FormatBool(bool bValue);
std::string FormatInteger(long long llValue);
// A JSON string literal; bytes of 0x80 and above are kept as they are.
std::string FormatString(const std::string& strValue);
std::string FormatPointer(const void* pValue);

std::string CallText(const char* szName, std::initializer_list<std::string> aArgs = {});

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
