// What the parts of kite share during one run.
#ifndef KITE_HOST_STATE_H
#define KITE_HOST_STATE_H

#include <glib.h>
#include <string>
#include <v8.h>

namespace Kite {

class CHostState {
public:
    static CHostState& Get();

    v8::Platform* m_pPlatform = nullptr;
    v8::Isolate* m_pIsolate = nullptr;
    GMainLoop* m_pLoop = nullptr;  // set while the loop runs
    std::string m_strScriptDirectory;
    // A test file's run ends when its harness says so, not when nothing is left.
    bool m_bHoldRun = false;

    bool m_bQuitRequested = false;
    int m_iQuitCode = 0;
    bool m_bHadUncaught = false;

    // Stops the run: no script runs after this, and the loop ends.
    void RequestQuit(int iCode);
    // A quit with a non-zero code wins over an uncaught exception.
    int ExitStatus() const;
};

}  // namespace Kite

#endif
