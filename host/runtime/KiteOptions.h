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

// kite test: the player that test files get unless --adapter names another;
// on the model, test files get virtual time unless --clock=real.
const char* const TEST_DEFAULT_ADAPTER = "model";

enum EReporter { REPORTER_SPEC, REPORTER_TAP };

// What a run is for: a script, test files, or the app tools for the TV's
// engine (kite check and kite build --target=tv).
enum ECommand { COMMAND_RUN, COMMAND_TEST, COMMAND_CHECK, COMMAND_BUILD };

// The one engine that --target names: the TV's, whose V8 generation the
// tools check and build for (that of Node.js 0.12.18).
const char* const TV_TARGET = "tv";
const char* const TV_TARGET_V8 = "3.28.71.20";

struct CTestOptions {
    std::vector<std::string> m_aPaths;  // files, or folders to search for *.test.js
    int m_iTimeoutMs = 5000;
    EReporter m_eReporter = REPORTER_SPEC;
    bool m_bFilter = false;
    std::string m_strFilter;  // a regular expression over the tests' full names
    bool m_bCoverage = false;  // --coverage, or --coverage-dir
    std::string m_strCoverageDir;  // where lcov.info goes; empty for none
    bool m_bWatch = false;
    int m_iRecordFd = -1;  // in the process that runs one file: where its results go
    // There too, with --inspect: kite test's own stderr, where the inspector
    // says where it listens (the file's stderr is the report's).
    int m_iTerminalFd = -1;
};

struct CKiteOptions {
    std::string m_strProgram;  // how kite was started (argv[0])
#ifdef KITE_WITH_GSTREAMER
    std::string m_strAdapter = "gst";
#else
    std::string m_strAdapter = "sim";  // a build without GStreamer, such as the armhf one
#endif
    bool m_bAdapterGiven = false;
    bool m_bVirtualClock = false;  // --clock=virtual: time moves by sim.advance only
    bool m_bClockGiven = false;
    bool m_bLog = false;
    std::string m_strLog;  // "-" for stderr
    Dlog::CLogFilter m_logFilter;
    std::string m_strLogColour = "auto";  // or "always", "never"; stderr's only
    std::vector<std::string> m_aPlugins;
    EInspect m_eInspect = INSPECT_OFF;
    std::string m_strInspectHost = "127.0.0.1";
    int m_iInspectPort = 9229;
    std::string m_strScript;
    std::vector<std::string> m_aArgs;
    bool m_bHelp = false;
    bool m_bVersion = false;
    ECommand m_eCommand = COMMAND_RUN;  // kite test [PATH...], kite check, kite build, or a script
    CTestOptions m_test;
    std::string m_strTarget;  // --target=tv: for the TV's engine; empty for this desktop's
    std::string m_strOut;     // kite build --out=DIR
    std::vector<std::string> m_aToolPaths;  // kite check's and kite build's scripts
};

// False with a one-line reason when the command line is unusable.
bool ParseOptions(int iArgc, char** ppArgv, CKiteOptions& options, std::string& strError);

const char* Usage();
const char* TestUsage();
// The usage line of the command (Usage() for a script's run).
const char* UsageOf(ECommand eCommand);
// Options, globals, exit rules and where the script interface is described.
std::string Help();
// kite's version and those of V8, GLib and GStreamer, one a line.
std::string Version();

}  // namespace Kite

#endif
