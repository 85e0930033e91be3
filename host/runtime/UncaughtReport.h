// Exceptions that no script caught: printed with their place and stack,
// and the run then ends with status 1.
#ifndef KITE_UNCAUGHT_REPORT_H
#define KITE_UNCAUGHT_REPORT_H

#include <string>
#include <v8.h>

namespace Kite {

// Routes the bridge library's reports (events it delivers) here as well.
void InstallUncaughtReport();

// For a TryCatch of the host's own: reports what it caught, unless the run
// is being stopped by kite.quit.
void ReportIfCaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch);

// Reports a value that nothing handled, after the prefix, as uncaught.
void ReportUncaughtValue(v8::Isolate* pIsolate, const std::string& strPrefix, v8::Local<v8::Value> value);

// As Node shows an uncaught error: the place in the script (its file and
// line, the source line, a caret under the column), then the prefix and the
// error with its stack, or the value thrown.
std::string DescribeUncaught(v8::Isolate* pIsolate, v8::Local<v8::Value> exception,
                             v8::Local<v8::Message> message, const std::string& strPrefix = "Uncaught ");

// The same for a script that does not compile: the place, then the
// SyntaxError.
std::string DescribeCompileError(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch);

}  // namespace Kite

#endif
