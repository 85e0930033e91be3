// Plug-ins: shared libraries whose loadBridges hands over script classes.
#ifndef KITE_PLUGIN_LOADER_H
#define KITE_PLUGIN_LOADER_H

#include <string>
#include <vector>

namespace Bridge {
class ScriptBridge;
}

namespace Kite {

// The folders searched when no --plugin is given: the plug-in folder, then
// those of KITE_PLUGIN_PATH (colon-separated).
std::vector<std::string> PluginSearchPath();

// Every library (*.so) of those folders, each folder's in name order, each
// file once. A folder that does not exist is skipped; one that cannot be read
// is an error.
bool FindPlugins(std::vector<std::string>& aPaths, std::string& strError);

// The bridges of every loaded plug-in, which the host owns once they are
// handed over: it deletes them at exit, after the engine has detached.
class CPluginSet {
public:
    CPluginSet() = default;
    ~CPluginSet();

    // Loads the library and installs every bridge it returns (once each, even
    // when a plug-in hands a bridge over again) as a script class of the
    // attached context. False with a one-line reason on failure.
    bool Load(const std::string& strPath, std::string& strError);

private:
    CPluginSet(const CPluginSet&) = delete;
    CPluginSet& operator=(const CPluginSet&) = delete;

    std::vector<Bridge::ScriptBridge*> m_aBridges;
};

}  // namespace Kite

#endif
