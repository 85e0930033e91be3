// The lines that console methods print, as Node's console prints them.
#ifndef KITE_CONSOLE_TEXT_H
#define KITE_CONSOLE_TEXT_H

#include <string>
#include <v8.h>
#include <vector>

namespace Kite {

// A leading string's format specifiers (%s %d %i %f %j %o %O %c %%) take
// the arguments after it; the rest follow, separated by spaces, strings as
// they are and other values inspected. False when script code that this
// runs (a toString, a valueOf, a getter) threw; the exception stays pending.
bool FormatConsoleArguments(v8::Local<v8::Context> context, const std::vector<v8::Local<v8::Value>>& aArguments,
                            std::string& strOut);

// A duration for console.timeEnd: "0.05ms", "1.500s", "1:02.003 (m:ss.mmm)",
// "1:02:03.004 (h:mm:ss.mmm)".
std::string DurationText(double dMilliseconds);

}  // namespace Kite

#endif
