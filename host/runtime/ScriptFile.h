// Script files: reading, compiling under their path, and paths relative to
// the main script.
#ifndef KITE_SCRIPT_FILE_H
#define KITE_SCRIPT_FILE_H

#include <string>
#include <v8.h>

namespace Kite {

// False with a one-line reason when the file cannot be read.
bool ReadScriptFile(const std::string& strPath, std::string& strSource, std::string& strError);

// Empty on a syntax error, which the caller's TryCatch then holds.
v8::MaybeLocal<v8::Script> CompileScript(v8::Local<v8::Context> context, const std::string& strSource,
                                         const std::string& strPath);

// "FILE:LINE: SyntaxError: ..." for a failed compilation, on one line (kite
// test's report); UncaughtReport.h has the form of a run's.
std::string CompileErrorLine(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch, const std::string& strPath);

std::string DirectoryOf(const std::string& strPath);
// An absolute path as it is, a relative one under the directory.
std::string ResolvePath(const std::string& strDirectory, const std::string& strPath);

}  // namespace Kite

#endif
