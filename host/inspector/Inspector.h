// kite --inspect: V8's inspector, served to Chrome DevTools and other
// clients of its protocol over a WebSocket. Without the option none of it
// exists, and each call below returns at once.
#ifndef KITE_INSPECTOR_H
#define KITE_INSPECTOR_H

#include <string>
#include <v8.h>

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

// Listens as the settings say and prints where; false with a reason when it
// cannot (or when this build has no inspector). Before the globals are
// installed: the console keeps V8's own as well.
bool StartInspector(const CInspectorSettings& settings, v8::Local<v8::Context> context, std::string& strError);
// Just before the script runs: --inspect-wait and --inspect-brk wait here
// for a client to say so; --inspect-brk then pauses on the first line.
void InspectorBeforeScript();
// While a client is attached, a run with nothing left does not end.
bool InspectorHoldsRun();
// After an error in the script's top level: serves the attached clients,
// and nothing else, until they detach.
void InspectorHoldUntilDetached();
// console.log/error also go to the client, with their stack.
void InspectorConsoleCall(const v8::FunctionCallbackInfo<v8::Value>& info, const char* pszMethod);
// An exception that nothing caught, as Runtime.exceptionThrown with TEXT
// ("Uncaught", "Uncaught (in promise)"); MESSAGE may be empty.
void InspectorUncaught(const std::string& strText, v8::Local<v8::Value> exception, v8::Local<v8::Message> message);
// Closes the client and the server; before the context goes.
void StopInspector();

}  // namespace Kite

#endif
