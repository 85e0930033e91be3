#include "plugins/PluginSet.h"

#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <algorithm>
#include <dlfcn.h>
#include <exception>
#include <vector>

#include "plugins/PluginAbi.h"

namespace Kite {

namespace {

typedef std::vector<Bridge::ScriptBridge*> (*LoadBridgesFunction)();

// Holds every bridge handed over to the end of the process, reachable (as a
// leak checker sees it) also once the plug-in's own list has gone with the
// library's statics at exit.
void KeepUntilExit(Bridge::ScriptBridge* pBridge)
{
    // Never destroyed: exit handlers run before a leak check.
    static std::vector<Bridge::ScriptBridge*>* s_pKept = new std::vector<Bridge::ScriptBridge*>();
    if (std::find(s_pKept->begin(), s_pKept->end(), pBridge) == s_pKept->end())
        s_pKept->push_back(pBridge);
}

}  // namespace

bool CPluginSet::Load(const std::string& strPath, std::string& strError)
{
    // Before loading: a library of another ABI would miss symbols or run
    // its code against a layout it does not know.
    if (!CheckPluginAbi(strPath, strError))
        return false;
    // Plug-ins stay loaded for the whole process: their bridges and natives
    // live in them.
    void* pLibrary = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (pLibrary == nullptr) {
        strError = "cannot load plug-in " + strPath + ": " + DescribeLoadFailure(dlerror());
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
            KeepUntilExit(pBridge);
        }
        for (Bridge::ScriptBridge* pBridge : aBridges) {
            if (m_installed.insert(pBridge->getScriptClassName()).second)
                Bridge::Engine::InstallClass(pBridge);
        }
    } catch (const std::exception& e) {
        strError = "plug-in " + strPath + " failed to start: " + e.what();
        return false;
    }
    return true;
}

}  // namespace Kite
