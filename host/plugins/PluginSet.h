// The script classes that loaded plug-ins give one run's context.
#ifndef KITE_PLUGIN_SET_H
#define KITE_PLUGIN_SET_H

#include <set>
#include <string>

namespace Kite {

// Bridges live until the process ends, and kite deletes none: a plug-in's
// loadBridges answers every bridge it has made, so a later engine of the
// process, or the plug-in loaded again, is handed the earlier ones too.
// Each class name is installed once in the context, from the first bridge
// handed over under it; later bridges of that name are left out.
class CPluginSet {
public:
    CPluginSet() = default;

    // Loads the library and installs the classes of the bridges it returns
    // in the attached context. False with a one-line reason on failure.
    bool Load(const std::string& strPath, std::string& strError);

private:
    CPluginSet(const CPluginSet&) = delete;
    CPluginSet& operator=(const CPluginSet&) = delete;

    std::set<std::string> m_installed;  // class names
};

}  // namespace Kite

#endif
