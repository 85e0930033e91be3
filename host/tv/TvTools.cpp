#include "tv/TvTools.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ftw.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace Kite {

namespace {

// "node" on the PATH runs the tools: the desktop's Node.js, not the TV's.
const char* const DESKTOP_NODE = "node";

// The tool's file, or empty with the reason when this kite has none: an
// installed kite is not beside a checkout.
std::string ToolPath(const char* pszTool, std::string& strError)
{
    std::string strPath = std::string(KITE_TV_TOOLS_DIR) + "/" + pszTool + ".js";
    struct stat info;
    if (stat(strPath.c_str(), &info) != 0) {
        strError = std::string("the app tools for the TV's engine are not at ") + KITE_TV_TOOLS_DIR +
                   ": they come with the Tether checkout that built this kite (tv/, and .deps/ from "
                   "scripts/setup.sh)";
        return std::string();
    }
    return strPath;
}

std::vector<char*> ArgumentVector(std::vector<std::string>& aArgs)
{
    std::vector<char*> apArgs;
    for (std::string& strArg : aArgs)
        apArgs.push_back(&strArg[0]);
    apArgs.push_back(nullptr);
    return apArgs;
}

std::string DirectoryOf(const std::string& strPath)
{
    std::string::size_type uSlash = strPath.rfind('/');
    return uSlash == std::string::npos ? "." : uSlash == 0 ? "/" : strPath.substr(0, uSlash);
}

std::string NameOf(const std::string& strPath)
{
    std::string::size_type uSlash = strPath.rfind('/');
    return uSlash == std::string::npos ? strPath : strPath.substr(uSlash + 1);
}

int RemoveEntry(const char* pszPath, const struct stat*, int, FTW*)
{
    return remove(pszPath);
}

}  // namespace

CTemporaryFolder::~CTemporaryFolder()
{
    if (!m_strPath.empty() && m_owner == getpid())
        nftw(m_strPath.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

bool CTemporaryFolder::Make(std::string& strError)
{
    const char* pszBase = std::getenv("TMPDIR");
    std::string strTemplate = std::string(pszBase != nullptr && *pszBase != '\0' ? pszBase : "/tmp") + "/kite-XXXXXX";
    if (mkdtemp(&strTemplate[0]) == nullptr) {
        strError = "cannot make a temporary folder in " + strTemplate.substr(0, strTemplate.rfind('/')) + ": " +
                   std::strerror(errno);
        return false;
    }
    m_strPath = strTemplate;
    m_owner = getpid();
    return true;
}

int RunTvTool(const CKiteOptions& options)
{
    std::string strError;
    bool bCheck = options.m_eCommand == COMMAND_CHECK;
    std::string strTool = ToolPath(bCheck ? "check" : "build", strError);
    if (strTool.empty()) {
        std::fprintf(stderr, "kite: %s\n", strError.c_str());
        return 2;
    }
    std::vector<std::string> aArgs{DESKTOP_NODE, strTool};
    if (!bCheck)
        aArgs.push_back("--out=" + options.m_strOut);
    // A script named like an option is still a script.
    aArgs.push_back("--");
    aArgs.insert(aArgs.end(), options.m_aToolPaths.begin(), options.m_aToolPaths.end());
    std::fflush(stdout);
    std::vector<char*> apArgs = ArgumentVector(aArgs);
    // The tool names itself as the command the developer typed.
    setenv("KITE_COMMAND", bCheck ? "kite check" : "kite build", 1);
    execvp(DESKTOP_NODE, apArgs.data());
    std::fprintf(stderr, "kite: cannot run Node.js (%s) for kite %s: %s\n", DESKTOP_NODE, bCheck ? "check" : "build",
                 std::strerror(errno));
    return 2;
}

bool BuildTestForTv(const std::string& strTestFile, const std::string& strOut, std::string& strBuilt,
                    std::string& strError)
{
    std::string strTool = ToolPath("build", strError);
    if (strTool.empty())
        return false;
    std::vector<std::string> aArgs{DESKTOP_NODE, strTool, "--out=" + strOut, "--", strTestFile,
                                   DirectoryOf(strTestFile)};
    int aPipe[2];
    if (pipe(aPipe) != 0) {
        strError = std::strerror(errno);
        return false;
    }
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = fork();
    if (pid == 0) {
        close(aPipe[0]);
        dup2(aPipe[1], STDOUT_FILENO);
        dup2(aPipe[1], STDERR_FILENO);
        std::vector<char*> apArgs = ArgumentVector(aArgs);
        setenv("KITE_COMMAND", "kite build", 1);
        execvp(DESKTOP_NODE, apArgs.data());
        std::fprintf(stderr, "cannot run Node.js (%s): %s\n", DESKTOP_NODE, std::strerror(errno));
        _exit(2);
    }
    close(aPipe[1]);
    std::string strOutput;
    char aBuffer[4096];
    ssize_t iRead;
    while ((iRead = read(aPipe[0], aBuffer, sizeof aBuffer)) != 0) {
        if (iRead > 0)
            strOutput.append(aBuffer, static_cast<std::size_t>(iRead));
        else if (errno != EINTR)
            break;
    }
    close(aPipe[0]);
    int iStatus = 0;
    if (pid < 0) {
        strError = std::strerror(errno);
        return false;
    }
    while (waitpid(pid, &iStatus, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(iStatus) || WEXITSTATUS(iStatus) != 0) {
        strError = "the build of " + strTestFile + " for the TV's engine failed:\n" + strOutput;
        return false;
    }
    // The build keeps paths below the folder the scripts share: the test file's.
    strBuilt = strOut + "/" + NameOf(strTestFile);
    return true;
}

}  // namespace Kite
