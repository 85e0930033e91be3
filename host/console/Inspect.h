// Script values as text, the way Node's util.inspect shows them: what the
// console prints for anything that is not a string.
#ifndef KITE_INSPECT_H
#define KITE_INSPECT_H

#include <string>
#include <v8.h>

namespace Kite {

struct CInspectOptions {
    // Levels below the value shown in full; deeper objects read [Object].
    int m_iDepth = 2;
    // Non-enumerable properties too, as [key], and proxies as
    // Proxy [ target, handler ].
    bool m_bShowHidden = false;
};

// False when script code that the inspection runs (a toStringTag getter, a
// proxy trap on a prototype chain) threw; the exception stays pending.
bool InspectValue(v8::Local<v8::Context> context, v8::Local<v8::Value> value, const CInspectOptions& options,
                  std::string& strOut);

// A primitive as the inspection shows it: a string quoted and escaped, a
// BigInt with its n, -0 as -0.
std::string QuotedText(v8::Isolate* pIsolate, v8::Local<v8::String> text);
std::string NumberText(v8::Isolate* pIsolate, double dValue);

}  // namespace Kite

#endif
