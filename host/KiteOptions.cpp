#include "KiteOptions.h"

#include <cstring>

namespace Kite {

namespace {

// The value of "--name=value", or null when the argument is not that option.
const char* OptionValue(const char* pszArgument, const char* pszName)
{
    std::size_t uLength = std::strlen(pszName);
    if (std::strncmp(pszArgument, pszName, uLength) != 0 || pszArgument[uLength] != '=')
        return nullptr;
    return pszArgument + uLength + 1;
}

}  // namespace

const char* Usage()
{
    return "usage: kite [--adapter=sim|gst] [--log=FILE|-] [--plugin=PATH]... SCRIPT.js [ARGS...]";
}

bool ParseOptions(int iArgc, char** ppArgv, CKiteOptions& options, std::string& strError)
{
    int i = 1;
    for (; i < iArgc; ++i) {
        const char* pszArgument = ppArgv[i];
        const char* pszValue = nullptr;
        if (std::strcmp(pszArgument, "--") == 0) {
            ++i;
            break;
        }
        if (pszArgument[0] != '-' || pszArgument[1] == '\0')
            break;
        if (std::strcmp(pszArgument, "--help") == 0 || std::strcmp(pszArgument, "-h") == 0) {
            options.m_bHelp = true;
            return true;
        }
        if ((pszValue = OptionValue(pszArgument, "--adapter")) != nullptr) {
            options.m_strAdapter = pszValue;
        } else if ((pszValue = OptionValue(pszArgument, "--log")) != nullptr) {
            if (*pszValue == '\0') {
                strError = "--log needs a file name or -";
                return false;
            }
            options.m_bLog = true;
            options.m_strLog = pszValue;
        } else if ((pszValue = OptionValue(pszArgument, "--plugin")) != nullptr) {
            if (*pszValue == '\0') {
                strError = "--plugin needs a path";
                return false;
            }
            options.m_aPlugins.push_back(pszValue);
        } else {
            strError = std::string("unknown option '") + pszArgument + "'";
            return false;
        }
    }
    if (i >= iArgc) {
        strError = "no script given";
        return false;
    }
    options.m_strScript = ppArgv[i++];
    for (; i < iArgc; ++i)
        options.m_aArgs.push_back(ppArgv[i]);
    return true;
}

}  // namespace Kite
