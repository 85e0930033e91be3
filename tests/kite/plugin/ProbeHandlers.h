// The methods of "Probe", one handler each.
#ifndef KITE_TEST_PROBE_HANDLERS_H
#define KITE_TEST_PROBE_HANDLERS_H

#include "Probe.h"

namespace KiteTest {

typedef Bridge::ScriptObject (*ProbeHandler)(CProbe*, const Bridge::ScriptArray&);

struct CProbeMethod {
    const char* m_pszName;
    v8::FunctionCallback m_pRouter;
};

// Every method's name and router, for mapScriptInterface.
const std::vector<CProbeMethod>& ProbeMethods();

}  // namespace KiteTest

#endif
