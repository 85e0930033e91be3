// kite test: runs each test file in a kite process of its own and reports.
#ifndef KITE_TEST_RUNNER_H
#define KITE_TEST_RUNNER_H

#include "runtime/KiteOptions.h"

namespace Kite {

// Runs one script as plain kite does; the test runner calls it in each
// file's process with the file as the script.
typedef int (*RunScriptFunction)(const CKiteOptions& options);

// The exit status of kite test: 0 when every test passed, 1 when a test or
// a file failed, 2 on a usage error, 128 + N when signal N stopped it. In a
// file's own process it returns that run's status instead.
int RunTests(const CKiteOptions& options, RunScriptFunction pRunScript);

}  // namespace Kite

#endif
