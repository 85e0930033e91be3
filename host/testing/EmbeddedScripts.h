// Scripts built into kite.
#ifndef KITE_EMBEDDED_SCRIPTS_H
#define KITE_EMBEDDED_SCRIPTS_H

namespace Kite {

struct CEmbeddedScript {
    const char* m_pszName;  // the name its stack frames show
    const char* m_pszSource;
};

// kite test's harness (host/testing/), in the order it runs; a null name
// ends the list.
extern const CEmbeddedScript TEST_HARNESS_SCRIPTS[];

}  // namespace Kite

#endif
