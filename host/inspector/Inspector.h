// kite --inspect: V8's inspector, served to Chrome DevTools and other
// clients of its protocol over a WebSocket. Without the option none of it
// exists: the run has no debugger.
#ifndef KITE_INSPECTOR_H
#define KITE_INSPECTOR_H

#include <string>
#include <v8.h>

#include "runtime/KiteRun.h"

namespace Kite {

struct CInspectorSettings {
    std::string m_strHost;
    int m_iPort = 0;
    // --inspect-wait: the script waits for a client to say so; --inspect-brk
    // also pauses it on its first line.
    bool m_bWaitForClient = false;
    bool m_bPauseOnStart = false;
    std::string m_strScript;  // the script's path, which a client is shown
    // Where it says where it listens and who attaches: stderr, or a test
    // file's run's terminal.
    int m_iMessageFd = 2;
};

// Listens as the settings say, prints where, and becomes the run's
// debugger; false with a reason when it cannot (or when this build has no
// inspector). Before the globals are installed: the console keeps V8's own
// as well. Resetting the run's debugger closes the clients and the server,
// which must happen before the context goes.
bool StartInspector(const CInspectorSettings& settings, v8::Local<v8::Context> context, CKiteRun& run,
                    std::string& strError);

}  // namespace Kite

#endif
