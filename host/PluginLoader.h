// Plug-ins: shared libraries whose loadBridges hands over script classes.
#ifndef KITE_PLUGIN_LOADER_H
#define KITE_PLUGIN_LOADER_H

#include <string>

namespace Kite {

// libTether.so in the folder of the kite program.
std::string DefaultPluginPath();

// Loads the library and installs every bridge it returns as a script class
// of the attached context. False with a one-line reason on failure.
bool LoadPlugin(const std::string& strPath, std::string& strError);

}  // namespace Kite

#endif
