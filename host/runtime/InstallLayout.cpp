#include "runtime/InstallLayout.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>

#include "runtime/ScriptFile.h"

namespace Kite {

namespace {

std::string ProgramDirectory()
{
    char szExe[PATH_MAX];
    ssize_t iLength = readlink("/proc/self/exe", szExe, sizeof(szExe) - 1);
    if (iLength <= 0)
        return ".";
    szExe[iLength] = '\0';
    return DirectoryOf(szExe);
}

// The path without "..", when it exists.
std::string Tidy(const std::string& strPath)
{
    char* pszReal = realpath(strPath.c_str(), nullptr);
    if (pszReal == nullptr)
        return strPath;
    std::string strReal = pszReal;
    std::free(pszReal);
    return strReal;
}

}  // namespace

std::string PluginDirectory()
{
    return Tidy(ResolvePath(ProgramDirectory(), KITE_PLUGIN_DIR));
}

std::string ReferencePath()
{
    std::string strInstalled = ResolvePath(ProgramDirectory(), KITE_INSTALLED_REFERENCE);
    return access(strInstalled.c_str(), R_OK) == 0 ? Tidy(strInstalled) : KITE_REFERENCE_PATH;
}

}  // namespace Kite
