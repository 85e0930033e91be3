// Script files: reading, compiling under their absolute path, and paths
// relative to the main script.
#ifndef KITE_SCRIPT_FILE_H
#define KITE_SCRIPT_FILE_H

#include <string>
#include <v8.h>

namespace Kite {

// False with a one-line reason when the file cannot be read.
bool ReadScriptFile(const std::string& strPath, std::string& strSource, std::string& strError);

// Empty on a syntax error, which the caller's TryCatch then holds. strPath
// becomes the script's name in stack lines and a debugger's URL of it, so
// it is an absolute one (AbsolutePath).
v8::MaybeLocal<v8::Script> CompileScript(v8::Local<v8::Context> context, const std::string& strSource,
                                         const std::string& strPath);

// "FILE:LINE: SyntaxError: ..." for a failed compilation, on one line (kite
// test's report); UncaughtReport.h has the form of a run's.
std::string CompileErrorLine(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch, const std::string& strPath);

std::string DirectoryOf(const std::string& strPath);
// An absolute path as it is, a relative one under the directory.
std::string ResolvePath(const std::string& strDirectory, const std::string& strPath);
// The path from the root, without "." or ".." steps or doubled slashes; a
// relative one starts in the current folder. Symbolic links stay, as the
// user named them.
std::string AbsolutePath(const std::string& strPath);
// A path, or a place in a file ("PATH:LINE:COL"), relative to the folder
// when it lies below it; as it is otherwise, or when the folder is empty.
std::string PathBelow(const std::string& strFolder, const std::string& strPath);
// The current folder, as AbsolutePath reads it.
std::string CurrentFolder();

}  // namespace Kite

#endif
