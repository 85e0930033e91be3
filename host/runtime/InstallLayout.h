// Where kite's own files lie: relative to the program, so that a build tree
// and an installed prefix, wherever it was moved, look alike.
#ifndef KITE_INSTALL_LAYOUT_H
#define KITE_INSTALL_LAYOUT_H

#include <string>

namespace Kite {

// The folder whose libraries kite loads when no --plugin is given.
std::string PluginDirectory();

// The installed script reference when there is one, else the source tree's.
std::string ReferencePath();

}  // namespace Kite

#endif
