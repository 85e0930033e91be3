// Plug-ins: shared libraries whose loadBridges hands over script classes.
#ifndef KITE_PLUGIN_LOADER_H
#define KITE_PLUGIN_LOADER_H

#include <string>
#include <vector>

namespace Bridge {
class ScriptBridge;
}

namespace Kite {

// libTether.so in the folder of the kite program.
std::string DefaultPluginPath();

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
