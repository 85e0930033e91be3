// A build without the inspector (no libsoup or no V8 inspector header, as in
// the armhf cross build).
#include "inspector/Inspector.h"

namespace Kite {

bool StartInspector(const CInspectorSettings&, v8::Local<v8::Context>, std::string& strError)
{
    strError = "--inspect is not available in this build of kite";
    return false;
}

void InspectorBeforeScript() {}

bool InspectorHoldsRun()
{
    return false;
}

void InspectorHoldUntilDetached() {}

void InspectorConsoleCall(const v8::FunctionCallbackInfo<v8::Value>&, const char*) {}

void InspectorUncaught(const std::string&, v8::Local<v8::Value>, v8::Local<v8::Message>) {}

void StopInspector() {}

}  // namespace Kite
