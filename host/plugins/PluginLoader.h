// Plug-ins: shared libraries whose loadBridges hands over script classes,
// and where kite looks for them.
#ifndef KITE_PLUGIN_LOADER_H
#define KITE_PLUGIN_LOADER_H

#include <string>
#include <vector>

namespace Kite {

// The folders searched when no --plugin is given: the plug-in folder, then
// those of KITE_PLUGIN_PATH (colon-separated).
std::vector<std::string> PluginSearchPath();

// Every library (*.so) of those folders, each folder's in name order, each
// file once. A folder that does not exist is skipped; one that cannot be read
// is an error.
bool FindPlugins(std::vector<std::string>& aPaths, std::string& strError);

}  // namespace Kite

#endif
