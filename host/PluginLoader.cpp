#include "PluginLoader.h"

#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <algorithm>
#include <dlfcn.h>
#include <exception>
#include <limits.h>
#include <unistd.h>
#include <vector>

#include "ScriptFile.h"

namespace Kite {

namespace {

typedef std::vector<Bridge::ScriptBridge*> (*LoadBridgesFunction)();

}  // namespace

std::string DefaultPluginPath()
{
    char szExe[PATH_MAX];
    ssize_t iLength = readlink("/proc/self/exe", szExe, sizeof(szExe) - 1);
    if (iLength <= 0)
        return "libTether.so";
    szExe[iLength] = '\0';
    return DirectoryOf(szExe) + "/libTether.so";
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
