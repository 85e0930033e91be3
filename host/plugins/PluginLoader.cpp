#include "plugins/PluginLoader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>
#include <vector>

#include "runtime/InstallLayout.h"

namespace Kite {

std::vector<std::string> PluginSearchPath()
{
    std::vector<std::string> aFolders{PluginDirectory()};
    const char* pszPath = std::getenv("KITE_PLUGIN_PATH");
    std::string strPath = pszPath != nullptr ? pszPath : "";
    std::string::size_type uStart = 0;
    while (uStart <= strPath.size()) {
        std::string::size_type uEnd = strPath.find(':', uStart);
        if (uEnd == std::string::npos)
            uEnd = strPath.size();
        if (uEnd > uStart)
            aFolders.push_back(strPath.substr(uStart, uEnd - uStart));
        uStart = uEnd + 1;
    }
    return aFolders;
}

bool FindPlugins(std::vector<std::string>& aPaths, std::string& strError)
{
    // The same library reached twice would hand its bridges over again.
    std::set<std::string> seen;
    for (const std::string& strFolder : PluginSearchPath()) {
        DIR* pDir = opendir(strFolder.c_str());
        if (pDir == nullptr) {
            if (errno == ENOENT)
                continue;
            strError = "cannot read plug-in folder " + strFolder + ": " + std::strerror(errno);
            return false;
        }
        std::vector<std::string> aNames;
        while (const dirent* pEntry = readdir(pDir)) {
            std::string strName = pEntry->d_name;
            if (strName.size() > 3 && strName.compare(strName.size() - 3, 3, ".so") == 0)
                aNames.push_back(strName);
        }
        closedir(pDir);
        std::sort(aNames.begin(), aNames.end());
        for (const std::string& strName : aNames) {
            std::string strPath = strFolder + "/" + strName;
            struct stat st;
            char* pszReal = realpath(strPath.c_str(), nullptr);
            if (pszReal == nullptr || stat(pszReal, &st) != 0 || !S_ISREG(st.st_mode)) {
                std::free(pszReal);
                continue;
            }
            if (seen.insert(pszReal).second)
                aPaths.push_back(strPath);
            std::free(pszReal);
        }
    }
    return true;
}

}  // namespace Kite
