#include "plugins/PluginLoader.h"

#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <dlfcn.h>
#include <exception>
#include <set>
#include <sys/stat.h>
#include <vector>

#include "runtime/InstallLayout.h"

namespace Kite {

namespace {

typedef std::vector<Bridge::ScriptBridge*> (*LoadBridgesFunction)();

}  // namespace

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

CPluginSet::~CPluginSet()
{
    for (Bridge::ScriptBridge* pBridge : m_aBridges)
        delete pBridge;
}

bool CPluginSet::Load(const std::string& strPath, std::string& strError)
{
    // Plug-ins stay loaded for the whole run: their natives may be destroyed
    // as late as the engine's detach.
    void* pLibrary = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (pLibrary == nullptr) {
        const char* pszReason = dlerror();
        strError = "cannot load plug-in " + strPath + ": " + (pszReason != nullptr ? pszReason : "unknown error");
        return false;
    }
    LoadBridgesFunction loadBridges = reinterpret_cast<LoadBridgesFunction>(dlsym(pLibrary, "loadBridges"));
    if (loadBridges == nullptr) {
        strError = "plug-in " + strPath + " has no loadBridges";
        return false;
    }
    try {
        std::vector<Bridge::ScriptBridge*> aBridges = loadBridges();
        for (Bridge::ScriptBridge* pBridge : aBridges) {
            if (pBridge == nullptr) {
                strError = "plug-in " + strPath + " returned a null bridge";
                return false;
            }
            if (std::find(m_aBridges.begin(), m_aBridges.end(), pBridge) != m_aBridges.end())
                continue;
            m_aBridges.push_back(pBridge);
            Bridge::Engine::InstallClass(pBridge);
        }
    } catch (const std::exception& e) {
        strError = "plug-in " + strPath + " failed to start: " + e.what();
        return false;
    }
    return true;
}

}  // namespace Kite
