// Script values as text, the way Node's util.inspect shows them: what the
// console prints for anything that is not a string, and what kite test's
// assertion messages and diffs show.
#ifndef KITE_INSPECT_H
#define KITE_INSPECT_H

#include <cstddef>
#include <string>
#include <v8.h>

namespace Kite {

struct CInspectOptions {
    // Levels below the value shown in full; deeper objects read [Object].
    int m_iDepth = 2;
    // Non-enumerable properties too, as [key], and proxies as
    // Proxy [ target, handler ].
    bool m_bShowHidden = false;
    // Errors with their stacks; without, as [Name: message], which reads
    // the same wherever the error was made.
    bool m_bErrorStacks = true;
    // One entry a line, each followed by a comma, for lines that a diff
    // compares.
    bool m_bListing = false;
    // Once the text made passes this many characters, objects not begun yet
    // read [Object], so that a huge value cannot hold the run.
    std::size_t m_uBudget = std::size_t(1) << 27;
};

// The options of kite test's assertion messages: six levels, no stacks.
CInspectOptions ReportInspectOptions(bool bListing);

// False when script code that the inspection runs (a toStringTag getter, a
// proxy trap on a prototype chain) threw; the exception stays pending.
bool InspectValue(v8::Local<v8::Context> context, v8::Local<v8::Value> value, const CInspectOptions& options,
                  std::string& strOut);

}  // namespace Kite

#endif
