// Whether a plug-in file fits this kite: the SDK ABI it records, and a
// missing symbol's name when loading it fails.
#ifndef KITE_PLUGIN_ABI_H
#define KITE_PLUGIN_ABI_H

#include <string>

namespace Kite {

// Reads the SDK ABI that the library records (Bridge/SdkAbi.h) from the
// file, running nothing of it. False with a one-line reason when it records
// another ABI or none; true when it records this kite's, and when the file
// is no library of this machine's kind, which loading it then reports.
bool CheckPluginAbi(const std::string& strPath, std::string& strError);

// dlerror's text, with the name of a missing symbol demangled.
std::string DescribeLoadFailure(const char* pszReason);

}  // namespace Kite

#endif
