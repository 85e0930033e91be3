// A build without the inspector has no precise coverage either.
#include "testing/PreciseCoverage.h"

namespace Kite {

class CPreciseCoverage::CSession {};

bool CPreciseCoverage::Available()
{
    return false;
}

CPreciseCoverage::CPreciseCoverage() = default;

CPreciseCoverage::~CPreciseCoverage() = default;

bool CPreciseCoverage::Start(v8::Local<v8::Context>, std::string& strError)
{
    strError = "--coverage is not available in this build of kite";
    return false;
}

bool CPreciseCoverage::Take(const std::vector<std::string>&, std::vector<CScriptCoverage>&, std::string& strError)
{
    strError = "--coverage is not available in this build of kite";
    return false;
}

}  // namespace Kite
