// The app tools for the TV's engine: kite check and kite build --target=tv,
// and the builds that kite test --target=tv runs. They are JavaScript in the
// checkout's tv/ folder, run by this desktop's Node.js with the tools that
// scripts/setup.sh put in .deps/.
#ifndef KITE_TV_TOOLS_H
#define KITE_TV_TOOLS_H

#include <string>
#include <sys/types.h>

#include "runtime/KiteOptions.h"

namespace Kite {

// A new folder under $TMPDIR (or /tmp), removed with all it holds when this
// goes, by the process that made it only: test files run in forked ones.
class CTemporaryFolder {
public:
    CTemporaryFolder() = default;
    ~CTemporaryFolder();
    bool Make(std::string& strError);
    const std::string& Path() const { return m_strPath; }

private:
    CTemporaryFolder(const CTemporaryFolder&) = delete;
    CTemporaryFolder& operator=(const CTemporaryFolder&) = delete;

    std::string m_strPath;
    pid_t m_owner = 0;
};

// kite check or kite build: runs the tool in kite's place; answers 2, having
// said why, when it cannot be started.
int RunTvTool(const CKiteOptions& options);

// Builds a test file with the scripts of its folder, the test file first,
// into strOut; strBuilt is the built test file. False with the tool's output
// in strError.
bool BuildTestForTv(const std::string& strTestFile, const std::string& strOut, std::string& strBuilt,
                    std::string& strError);

}  // namespace Kite

#endif
