// Plug-ins that kite must refuse, from this one file: one that records
// another SDK ABI (built with KITE_SDK_ABI overridden), and one that needs
// a function this engine library lacks (KITE_TEST_MISSING_SYMBOL).
#include <Bridge/ScriptBridge.h>
#include <cstdio>
#include <vector>

#ifdef KITE_TEST_MISSING_SYMBOL
namespace Bridge {
void NotInThisEngine(const ScriptArray& aArgs);
}
#endif

// Shows on stderr if kite loads the library at all.
__attribute__((constructor)) static void Announce() { std::fputs("refused plug-in: loaded\n", stderr); }

extern "C" __attribute__((visibility("default"))) std::vector<Bridge::ScriptBridge*> loadBridges()
{
    std::fputs("refused plug-in: loadBridges called\n", stderr);
#ifdef KITE_TEST_MISSING_SYMBOL
    Bridge::NotInThisEngine(Bridge::ScriptArray());
#endif
    return {};
}
