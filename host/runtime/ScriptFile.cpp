#include "runtime/ScriptFile.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <glib.h>
#include <sstream>
#include <sys/stat.h>

#include "console/ScriptValues.h"

namespace Kite {

bool ReadScriptFile(const std::string& strPath, std::string& strSource, std::string& strError)
{
    struct stat info;
    if (stat(strPath.c_str(), &info) != 0) {
        strError = "cannot read " + strPath + ": " + std::strerror(errno);
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        strError = "cannot read " + strPath + ": not a regular file";
        return false;
    }
    std::ifstream file(strPath, std::ios::binary);
    if (!file) {
        strError = "cannot read " + strPath + ": " + std::strerror(errno);
        return false;
    }
    std::ostringstream contents;
    contents << file.rdbuf();
    if (file.bad()) {
        strError = "cannot read " + strPath;
        return false;
    }
    strSource = contents.str();
    return true;
}

v8::MaybeLocal<v8::Script> CompileScript(v8::Local<v8::Context> context, const std::string& strSource,
                                         const std::string& strPath)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::MaybeLocal<v8::String> source = v8::String::NewFromUtf8(
        pIsolate, strSource.data(), v8::NewStringType::kNormal, static_cast<int>(strSource.size()));
    v8::Local<v8::String> sourceText;
    if (!source.ToLocal(&sourceText)) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::RANGE_ERROR, strPath + " is too large");
        return v8::MaybeLocal<v8::Script>();
    }
    v8::ScriptOrigin origin(pIsolate, Bridge::NewText(pIsolate, strPath));
    return v8::Script::Compile(context, sourceText, &origin);
}

std::string CompileErrorLine(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch, const std::string& strPath)
{
    v8::HandleScope scope(pIsolate);
    std::string strText = "cannot compile";
    if (!tryCatch.Exception().IsEmpty()) {
        v8::TryCatch guard(pIsolate);
        std::string strException;
        if (DisplayText(pIsolate, tryCatch.Exception(), strException))
            strText = strException;
    }
    v8::Local<v8::Message> message = tryCatch.Message();
    std::string strLine;
    if (!message.IsEmpty())
        strLine = ":" + std::to_string(message->GetLineNumber(pIsolate->GetCurrentContext()).FromMaybe(0));
    return strPath + strLine + ": " + strText;
}

std::string DirectoryOf(const std::string& strPath)
{
    std::string::size_type uSlash = strPath.rfind('/');
    if (uSlash == std::string::npos)
        return ".";
    if (uSlash == 0)
        return "/";
    return strPath.substr(0, uSlash);
}

std::string ResolvePath(const std::string& strDirectory, const std::string& strPath)
{
    if (!strPath.empty() && strPath[0] == '/')
        return strPath;
    return strDirectory + "/" + strPath;
}

std::string AbsolutePath(const std::string& strPath)
{
    gchar* pszAbsolute = g_canonicalize_filename(strPath.c_str(), nullptr);
    std::string strAbsolute = pszAbsolute;
    g_free(pszAbsolute);
    return strAbsolute;
}

std::string PathBelow(const std::string& strFolder, const std::string& strPath)
{
    if (strFolder.empty())
        return strPath;
    std::string strPrefix = strFolder == "/" ? strFolder : strFolder + "/";
    if (strPath.size() > strPrefix.size() && strPath.compare(0, strPrefix.size(), strPrefix) == 0)
        return strPath.substr(strPrefix.size());
    return strPath;
}

std::string CurrentFolder()
{
    // g_canonicalize_filename starts relative paths here: the same reading
    // of a folder reached through a symbolic link.
    gchar* pszFolder = g_get_current_dir();
    std::string strFolder = pszFolder;
    g_free(pszFolder);
    return strFolder;
}

}  // namespace Kite
