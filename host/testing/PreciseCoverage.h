// V8's precise coverage (call counts and blocks) of one run, taken through an
// inspector session of its own inside the process: no server, no client.
// kite test --coverage uses it in each file's run.
#ifndef KITE_PRECISE_COVERAGE_H
#define KITE_PRECISE_COVERAGE_H

#include <memory>
#include <string>
#include <v8.h>
#include <vector>

#include "testing/TestCoverage.h"

namespace Kite {

class CPreciseCoverage {
public:
    // False when this build has no inspector (the armhf cross build).
    static bool Available();

    CPreciseCoverage();
    ~CPreciseCoverage();
    // Counts from now on what runs in the context's isolate; false with a
    // reason when it cannot.
    bool Start(v8::Local<v8::Context> context, std::string& strError);
    // What ran since the start, for each script compiled under one of the
    // names (paths, relative or absolute, or file:// URLs), by absolute path.
    bool Take(const std::vector<std::string>& aNames, std::vector<CScriptCoverage>& aScripts, std::string& strError);

private:
    CPreciseCoverage(const CPreciseCoverage&) = delete;
    CPreciseCoverage& operator=(const CPreciseCoverage&) = delete;

    class CSession;
    std::unique_ptr<CSession> m_pSession;
};

}  // namespace Kite

#endif
