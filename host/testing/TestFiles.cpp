#include "testing/TestFiles.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <set>
#include <sys/stat.h>

namespace Kite {

namespace {

const char TEST_SUFFIX[] = ".test.js";

bool EndsWith(const std::string& strText, const std::string& strEnd)
{
    return strText.size() >= strEnd.size() && strText.compare(strText.size() - strEnd.size(), strEnd.size(), strEnd) == 0;
}

// Folders that hold other people's code, build output or tools' state.
bool IsSkippedFolder(const std::string& strName)
{
    return strName == "node_modules" || strName.compare(0, 5, "build") == 0 || strName[0] == '.';
}

std::string Join(const std::string& strFolder, const std::string& strName)
{
    if (strFolder == ".")
        return strName;
    return strFolder.back() == '/' ? strFolder + strName : strFolder + "/" + strName;
}

// Symbolic links to folders are not followed, so that a loop cannot form.
bool Search(const std::string& strFolder, std::vector<std::string>& aFound, std::string& strError)
{
    DIR* pDir = opendir(strFolder.c_str());
    if (pDir == nullptr) {
        strError = "cannot read folder " + strFolder + ": " + std::strerror(errno);
        return false;
    }
    std::vector<std::string> aFiles;
    std::vector<std::string> aFolders;
    while (dirent* pEntry = readdir(pDir)) {
        std::string strName = pEntry->d_name;
        if (strName == "." || strName == "..")
            continue;
        std::string strPath = Join(strFolder, strName);
        struct stat info;
        if (lstat(strPath.c_str(), &info) != 0)
            continue;
        if (S_ISDIR(info.st_mode)) {
            if (!IsSkippedFolder(strName))
                aFolders.push_back(strPath);
        } else if (EndsWith(strName, TEST_SUFFIX) && stat(strPath.c_str(), &info) == 0 && S_ISREG(info.st_mode)) {
            aFiles.push_back(strPath);
        }
    }
    closedir(pDir);
    std::sort(aFiles.begin(), aFiles.end());
    std::sort(aFolders.begin(), aFolders.end());
    aFound.insert(aFound.end(), aFiles.begin(), aFiles.end());
    for (const std::string& strSub : aFolders) {
        if (!Search(strSub, aFound, strError))
            return false;
    }
    return true;
}

}  // namespace

bool FindTestFiles(const std::vector<std::string>& aPaths, std::vector<std::string>& aFiles,
                   std::string& strError)
{
    std::vector<std::string> aGiven = aPaths.empty() ? std::vector<std::string>{"."} : aPaths;
    std::vector<std::string> aFound;
    std::vector<std::string> aEmpty;
    for (const std::string& strPath : aGiven) {
        struct stat info;
        if (stat(strPath.c_str(), &info) != 0) {
            strError = "cannot find " + strPath + ": " + std::strerror(errno);
            return false;
        }
        if (!S_ISDIR(info.st_mode)) {
            aFound.push_back(strPath);
            continue;
        }
        std::size_t uBefore = aFound.size();
        if (!Search(strPath, aFound, strError))
            return false;
        if (aFound.size() == uBefore)
            aEmpty.push_back(strPath);
    }
    if (aFound.empty()) {
        strError = "no *.test.js under " + aEmpty.front();
        for (std::size_t i = 1; i < aEmpty.size(); ++i)
            strError += (i + 1 == aEmpty.size() ? " or " : ", ") + aEmpty[i];
        return false;
    }
    // A file named twice, or also found in a folder named, runs once.
    std::set<std::string> seen;
    for (const std::string& strFile : aFound) {
        char szReal[PATH_MAX];
        std::string strKey = realpath(strFile.c_str(), szReal) != nullptr ? szReal : strFile;
        if (seen.insert(strKey).second)
            aFiles.push_back(strFile);
    }
    return true;
}

}  // namespace Kite
