// A build without the inspector (no libsoup or no V8 inspector header, as in
// the armhf cross build).
#include "inspector/Inspector.h"

namespace Kite {

bool StartInspector(const CInspectorSettings&, v8::Local<v8::Context>, CKiteRun&, std::string& strError)
{
    strError = "--inspect is not available in this build of kite";
    return false;
}

}  // namespace Kite
