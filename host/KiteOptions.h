// The command line of kite.
#ifndef KITE_OPTIONS_H
#define KITE_OPTIONS_H

#include <DlogSink.h>
#include <string>
#include <vector>

namespace Kite {

// --inspect runs the script at once, --inspect-wait once a client says so,
// --inspect-brk also pauses it on its first line.
enum EInspect { INSPECT_OFF, INSPECT_RUN, INSPECT_WAIT, INSPECT_BREAK };

struct CKiteOptions {
#ifdef KITE_WITH_GSTREAMER
    std::string m_strAdapter = "gst";
#else
    std::string m_strAdapter = "sim";  // a build without GStreamer, such as the armhf one
#endif
    bool m_bLog = false;
    std::string m_strLog;  // "-" for stderr
    Dlog::CLogFilter m_logFilter;
    std::string m_strLogColour = "auto";  // or "always", "never"
    std::vector<std::string> m_aPlugins;
    EInspect m_eInspect = INSPECT_OFF;
    std::string m_strInspectHost = "127.0.0.1";
    int m_iInspectPort = 9229;
    std::string m_strScript;
    std::vector<std::string> m_aArgs;
    bool m_bHelp = false;
    bool m_bVersion = false;
};

// False with a one-line reason when the command line is unusable.
bool ParseOptions(int iArgc, char** ppArgv, CKiteOptions& options, std::string& strError);

const char* Usage();
// Options, globals, exit rules and where the script interface is described.
std::string Help();
// kite's version and those of V8, GLib and GStreamer, one a line.
std::string Version();

}  // namespace Kite

#endif
