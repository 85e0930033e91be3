// Which files kite test runs.
#ifndef KITE_TEST_FILES_H
#define KITE_TEST_FILES_H

#include <string>
#include <vector>

namespace Kite {

// The files named, and every *.test.js under the folders named (in name
// order; node_modules, build* and dot-folders below them are skipped), each
// once; no path means the current folder. False with a one-line reason when
// a path does not exist or nothing is found.
bool FindTestFiles(const std::vector<std::string>& aPaths, std::vector<std::string>& aFiles,
                   std::string& strError);

}  // namespace Kite

#endif
