// The run of one test file in a process of its own: the harness's globals,
// the file's top level, then its tests on the main loop, each result sent as
// a record to kite test.
#ifndef KITE_TEST_HARNESS_H
#define KITE_TEST_HARNESS_H

#include <string>
#include <v8.h>

#include "runtime/KiteOptions.h"
#include "runtime/KiteRun.h"

namespace Kite {

// In place of the script's plain run, once the globals and plug-ins are in
// place; answers the run's exit status.
int RunTestFile(CKiteRun& run, const CKiteOptions& options, const std::string& strSource,
                v8::Local<v8::Context> context);

}  // namespace Kite

#endif
