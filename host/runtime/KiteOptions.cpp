#include "runtime/KiteOptions.h"

#include <cstring>
#include <glib.h>
#include <v8.h>

#include "runtime/InstallLayout.h"
#ifdef KITE_WITH_GSTREAMER
#include <Cinecast/GstAdapter.h>
#endif

namespace Kite {

namespace {

// The value of "--name=value", or null when the argument is not that option.
const char* OptionValue(const char* pszArgument, const char* pszName)
{
    std::size_t uLength = std::strlen(pszName);
    if (std::strncmp(pszArgument, pszName, uLength) != 0 || pszArgument[uLength] != '=')
        return nullptr;
    return pszArgument + uLength + 1;
}

// "--inspect", "--inspect=[HOST:]PORT" and the same for the other two.
bool ParseInspect(const char* pszArgument, CKiteOptions& options, std::string& strError)
{
    static const struct { const char* m_pszName; EInspect m_eMode; } OPTIONS[] = {
        {"--inspect", INSPECT_RUN}, {"--inspect-wait", INSPECT_WAIT}, {"--inspect-brk", INSPECT_BREAK}};
    for (const auto& option : OPTIONS) {
        const char* pszValue = OptionValue(pszArgument, option.m_pszName);
        if (pszValue == nullptr && std::strcmp(pszArgument, option.m_pszName) != 0)
            continue;
        options.m_eInspect = option.m_eMode;
        if (pszValue == nullptr)
            return true;
        std::string strValue = pszValue;
        std::string::size_type uColon = strValue.rfind(':');
        std::string strPort = uColon == std::string::npos ? strValue : strValue.substr(uColon + 1);
        if (uColon != std::string::npos) {
            options.m_strInspectHost = strValue.substr(0, uColon);
            // [::1]:9229
            if (options.m_strInspectHost.size() > 2 && options.m_strInspectHost.front() == '[' &&
                options.m_strInspectHost.back() == ']')
                options.m_strInspectHost = options.m_strInspectHost.substr(1, options.m_strInspectHost.size() - 2);
        }
        bool bDigits = !strPort.empty() && strPort.size() <= 5 &&
                       strPort.find_first_not_of("0123456789") == std::string::npos;
        if (!bDigits || std::stoi(strPort) > 65535 || options.m_strInspectHost.empty()) {
            strError = std::string(option.m_pszName) + " takes [HOST:]PORT, not '" + strValue + "'";
            return false;
        }
        options.m_iInspectPort = std::stoi(strPort);
        return true;
    }
    strError = std::string("unknown option '") + pszArgument + "'";
    return false;
}

const char* const TEST_OPTIONS[] = {"--timeout", "--reporter", "--filter", "--coverage-dir"};
const char* const TEST_FLAGS[] = {"--coverage", "--watch"};

bool IsTestOption(const char* pszArgument)
{
    for (const char* pszName : TEST_OPTIONS) {
        if (OptionValue(pszArgument, pszName) != nullptr)
            return true;
    }
    for (const char* pszName : TEST_FLAGS) {
        if (std::strcmp(pszArgument, pszName) == 0)
            return true;
    }
    return false;
}

bool ParseTestOption(const char* pszArgument, CTestOptions& test, std::string& strError)
{
    const char* pszValue = nullptr;
    if ((pszValue = OptionValue(pszArgument, "--timeout")) != nullptr) {
        std::string strValue = pszValue;
        bool bDigits = !strValue.empty() && strValue.size() <= 10 &&
                       strValue.find_first_not_of("0123456789") == std::string::npos;
        long long llValue = bDigits ? std::stoll(strValue) : 0;
        if (llValue < 1 || llValue > 2147483647) {
            strError = "--timeout takes a number of milliseconds from 1 to 2147483647, not '" + strValue + "'";
            return false;
        }
        test.m_iTimeoutMs = static_cast<int>(llValue);
    } else if ((pszValue = OptionValue(pszArgument, "--reporter")) != nullptr) {
        if (std::strcmp(pszValue, "text") == 0) {
            test.m_eReporter = REPORTER_SPEC;
        } else if (std::strcmp(pszValue, "tap") == 0) {
            test.m_eReporter = REPORTER_TAP;
        } else {
            strError = std::string("--reporter is text or tap, not '") + pszValue + "'";
            return false;
        }
    } else if ((pszValue = OptionValue(pszArgument, "--filter")) != nullptr) {
        test.m_bFilter = true;
        test.m_strFilter = pszValue;
    } else if ((pszValue = OptionValue(pszArgument, "--coverage-dir")) != nullptr) {
        if (*pszValue == '\0') {
            strError = "--coverage-dir needs a folder";
            return false;
        }
        test.m_bCoverage = true;
        test.m_strCoverageDir = pszValue;
    } else if (std::strcmp(pszArgument, "--coverage") == 0) {
        test.m_bCoverage = true;
    } else if (std::strcmp(pszArgument, "--watch") == 0) {
        test.m_bWatch = true;
    }
    return true;
}

// kite check and kite build take --target, their scripts and, for the build,
// --out; nothing else of a run's options.
bool CheckToolOptions(const CKiteOptions& options, std::string& strError)
{
    const char* pszCommand = options.m_eCommand == COMMAND_CHECK ? "kite check" : "kite build";
    if (options.m_strTarget.empty()) {
        strError = std::string(pszCommand) + " needs --target=tv: the TV's engine is the one it knows";
        return false;
    }
    if (options.m_eCommand == COMMAND_BUILD && options.m_strOut.empty()) {
        strError = "kite build needs --out=DIR, the folder to write the built scripts to";
        return false;
    }
    if (options.m_aToolPaths.empty()) {
        strError = std::string(pszCommand) + " needs the scripts to " +
                   (options.m_eCommand == COMMAND_CHECK ? "check" : "build");
        return false;
    }
    return true;
}

// What kite test cannot do: one log file for many runs. (One inspector for
// many runs is refused once the files are known.)
bool CheckTestOptions(CKiteOptions& options, std::string& strError)
{
    // Coverage has an inspector session of its own in each file's run.
    if (options.m_test.m_bCoverage && options.m_eInspect != INSPECT_OFF) {
        strError = "--coverage and --inspect do not go together: run the tests under the debugger without --coverage";
        return false;
    }
    if (options.m_bLog && options.m_strLog != "-") {
        strError = "kite test takes --log=- only (the lines then show with each test's output)";
        return false;
    }
    if (options.m_test.m_bCoverage && options.m_strTarget == TV_TARGET) {
        strError = "--coverage measures the scripts as written, on this desktop's V8, not with --target=tv";
        return false;
    }
    if (!options.m_bAdapterGiven)
        options.m_strAdapter = TEST_DEFAULT_ADAPTER;
    if (!options.m_bClockGiven && options.m_strAdapter == "model")
        options.m_bVirtualClock = true;
    return true;
}

}  // namespace

const char* TestUsage()
{
    return "usage: kite test [--timeout=MS] [--reporter=text|tap] [--filter=PATTERN] [--adapter=NAME] "
           "[--clock=real|virtual] [--plugin=PATH]... [--log=-] [--target=tv] [--inspect[-wait|-brk][=[HOST:]PORT]] "
           "[--coverage] [--coverage-dir=DIR] [--watch] [PATH...]";
}

const char* UsageOf(ECommand eCommand)
{
    switch (eCommand) {
    case COMMAND_TEST:
        return TestUsage();
    case COMMAND_CHECK:
        return "usage: kite check --target=tv SCRIPT.js...";
    case COMMAND_BUILD:
        return "usage: kite build --target=tv --out=DIR PATH...";
    case COMMAND_RUN:
        break;
    }
    return Usage();
}

const char* Usage()
{
    return "usage: kite [--adapter=sim|model|gst] [--clock=real|virtual] [--log=FILE|-[:FILTERS]] [--log-color=WHEN] "
           "[--plugin=PATH]... "
           "[--inspect[-wait|-brk][=[HOST:]PORT]] SCRIPT.js [ARGS...]";
}

std::string Help()
{
    CKiteOptions defaults;
    std::string strHelp = std::string(Usage()) + "\n\n" +
        "Runs SCRIPT.js with the plug-ins' script classes (Tether) on a main loop.\n"
        "\n"
        "Options:\n"
#ifdef KITE_WITH_GSTREAMER
        "  --adapter=gst     Tether objects play media through GStreamer\n"
#endif
        "  --adapter=sim     Tether objects drive a simulated player, and the script\n"
        "                    gets the `sim` global\n"
        "  --adapter=model   Tether objects drive a model of the GStreamer player that\n"
        "                    plays media described with sim.media, on the run's clock\n"
        "                    (default: --adapter=" + defaults.m_strAdapter + ")\n"
        "  --clock=virtual   with --adapter=model: time stands still until sim.advance\n"
        "                    moves it, and dates run from 2000-01-01T00:00:00Z\n"
        "                    (default --clock=real, the wall clock)\n"
        "  --log=FILE|-      write the log lines to FILE, or to stderr with -\n"
        "  --log=FILE|-:FILTERS   only the lines the filters take, as the platform's\n"
        "                    log reader does: TAG:P (TAG at priority P and above, P one\n"
        "                    of V D I W E F S), TAG, *:P, *, separated by spaces\n"
        "  --log-color=auto|always|never   with --log=-: keep the colour escapes in\n"
        "                    the log lines (default auto: only on a terminal). A log\n"
        "                    FILE holds every line byte for byte; never is refused there\n"
        "  --plugin=PATH     load this plug-in (repeatable) instead of the ones found\n"
        "                    as below\n"
#ifdef KITE_WITH_INSPECTOR
        "  --inspect[=[HOST:]PORT]   serve Chrome DevTools and other inspector clients\n"
        "                    (default 127.0.0.1:9229; port 0 picks a free one)\n"
        "  --inspect-wait[=...]  the same, and the script waits for a client to run it\n"
        "  --inspect-brk[=...]   as --inspect-wait, and the script pauses on its first line\n"
#endif
        "  -h, --help        this text\n"
        "  -v, --version     the versions of kite, V8, GLib and GStreamer\n"
        "  --                ends the options; ARGS reach the script as kite.args\n"
        "\n"
        "Plug-ins: without --plugin, every library (*.so) in the plug-in folder\n"
        "  " + PluginDirectory() + "\n"
        "then in each folder of KITE_PLUGIN_PATH (colon-separated); a folder that\n"
        "does not exist is skipped.\n"
        "\n"
        "Globals:\n"
        "  console.log, .info, .debug (stdout), .warn, .error, .trace (stderr), .assert,\n"
        "                  .count, .time, .timeEnd: as in Node, values as util.inspect\n"
        "  setTimeout(fn, ms, ...args), clearTimeout(id)\n"
        "  setInterval(fn, ms, ...args), clearInterval(id)   every ms (at least 1)\n"
        "  queueMicrotask(fn)      fn once the running code is done, before any timer\n"
        "  performance.now()       milliseconds since the run started, on its clock\n"
        "  kite.args               the arguments after SCRIPT.js\n"
        "  kite.quit(code = 0)     ends the run now with that status (0 to 255)\n"
        "  kite.destroy(object)    destroys a plug-in object and its player now\n"
        "  kite.gc()               a full garbage collection\n"
        "  kite.afterIdle(fn)      calls fn once the events queued so far are delivered\n"
        "                          (after the timers already due)\n"
        "  kite.tid()              the kernel thread id of the script's thread\n"
        "  kite.load(path), kite.captureLog(on), kite.takeLog()   for tests\n"
        "  sim.*                   with --adapter=sim only: count, alive, calls, answer,\n"
        "                          report, emit, burst, drain, failNextAllocation, and\n"
        "                          the event codes sim.BUFFERING ... sim.SOUND_ANALYSIS\n"
        "  sim.*                   with --adapter=model: count, alive, calls, emit,\n"
        "                          failNextAllocation, the event codes, media(url, {...}),\n"
        "                          now(), pending() and, with --clock=virtual,\n"
        "                          advance(ms), runAll(limit), runUntil(condition, limit)\n"
        "\n"
        "The run ends when no timer, no interval, no afterIdle call and no reachable\n"
        "plug-in object that keeps runs going is left (with --clock=virtual: when\n"
        "nothing is left that can run without the clock moving), or at kite.quit.\n"
        "Exit status:\n"
        "  0         nothing failed\n"
        "  1         an uncaught error: at once when the script's top level throws,\n"
        "            at the end when a callback, timer or promise failed\n"
        "  2         kite could not start: options, script file, syntax, plug-in, log\n"
        "  N         kite.quit(N) with N other than 0\n"
        "  130, 143  ended by SIGINT (Ctrl-C) or SIGTERM; objects are destroyed first\n"
        "\n" + TestUsage() + "\n\n" +
        "Runs test files: the files named, or every *.test.js under the folders named\n"
        "(default: the current folder; node_modules, build* and dot-folders skipped),\n"
        "each in a kite of its own with the globals test, it, describe, before, after,\n"
        "beforeEach, afterEach and assert, on --adapter=" + TEST_DEFAULT_ADAPTER + " unless told; on the\n"
        "model, with --clock=virtual unless told. Each test starts clean: a plug-in\n"
        "object it leaves alive fails it, its timers are cancelled, its sim.media\n"
        "forgotten (test(name, { leaks: true }, fn) keeps them).\n"
        "  --timeout=MS      each test's and hook's time limit, in real time (default 5000);\n"
        "                    on virtual time one that awaits a clock with nothing to run\n"
        "                    before it moves fails at once\n"
        "  --reporter=tap    TAP version 13 instead of the readable report (text)\n"
        "  --filter=PATTERN  only the tests whose full name matches this regular expression\n"
        "  --target=tv       each file runs in the form kite build --target=tv gives it,\n"
        "                    built with the scripts of its folder, the test file first\n"
#ifdef KITE_WITH_INSPECTOR
        "  --inspect[-wait|-brk][=...]   serve the inspector for the run of one file,\n"
        "                    as for a script; time limits stop while a client pauses it\n"
#endif
        "  --coverage        after the tally, the line, function and branch coverage of\n"
        "                    the files the tests load with kite.load\n"
        "  --coverage-dir=DIR  the same, and DIR/lcov.info\n"
        "  --watch           then runs again the files that change or whose loaded files\n"
        "                    change, until Ctrl-C (status 130)\n"
        "Exit status: 0 every test passed, 1 a test or file failed, 2 a usage error.\n"
        "\n" + UsageOf(COMMAND_CHECK) + "\n\n" +
        "Tells what the TV's engine (V8 3.28) would reject in the scripts, as\n"
        "FILE:LINE:COLUMN: MESSAGE: syntax, compiled on that V8 itself, and built-ins\n"
        "it lacks, type-checked against types/tv/engine.d.ts.\n"
        "Exit status: 0 nothing rejected, 1 something is, 2 a file that cannot be read\n"
        "or does not parse on this desktop's V8 either.\n"
        "\n" + UsageOf(COMMAND_BUILD) + "\n\n" +
        "Compiles the scripts (a folder: its *.js), in their load order, to ES5 for the\n"
        "TV's engine, into DIR, with source maps; the helpers and polyfills they need\n"
        "go at the top of the first. Exit status: 0 built, 2 nothing written.\n"
        "\n"
        "Reference: " + ReferencePath() + "\n";
    return strHelp;
}

std::string Version()
{
    std::string strVersion = std::string("kite ") + KITE_VERSION + "\nV8 " + v8::V8::GetVersion() +
                             "\nV8 of --target=tv, the TV's engine: " + TV_TARGET_V8 + "\nGLib " +
                             std::to_string(glib_major_version) + "." + std::to_string(glib_minor_version) + "." +
                             std::to_string(glib_micro_version) + "\n";
#ifdef KITE_WITH_GSTREAMER
    return strVersion + "GStreamer " + DeviceAPI::Cinecast::Gst::LibraryVersion() + "\n";
#else
    return strVersion + "GStreamer: not in this build\n";
#endif
}

bool ParseOptions(int iArgc, char** ppArgv, CKiteOptions& options, std::string& strError)
{
    options.m_strProgram = iArgc > 0 ? ppArgv[0] : "kite";
    static const struct {
        const char* m_pszName;
        ECommand m_eCommand;
    } COMMANDS[] = {{"test", COMMAND_TEST}, {"check", COMMAND_CHECK}, {"build", COMMAND_BUILD}};
    int i = 1;
    for (; i < iArgc; ++i) {
        const char* pszArgument = ppArgv[i];
        const char* pszValue = nullptr;
        if (std::strcmp(pszArgument, "--") == 0) {
            ++i;
            break;
        }
        if (pszArgument[0] != '-' || pszArgument[1] == '\0') {
            if (options.m_eCommand == COMMAND_RUN) {
                for (const auto& command : COMMANDS) {
                    if (std::strcmp(pszArgument, command.m_pszName) == 0)
                        options.m_eCommand = command.m_eCommand;
                }
                if (options.m_eCommand != COMMAND_RUN)
                    continue;
                break;
            }
            std::vector<std::string>& aPaths =
                options.m_eCommand == COMMAND_TEST ? options.m_test.m_aPaths : options.m_aToolPaths;
            aPaths.push_back(pszArgument);
            continue;
        }
        if (std::strcmp(pszArgument, "--help") == 0 || std::strcmp(pszArgument, "-h") == 0) {
            options.m_bHelp = true;
            return true;
        }
        if (std::strcmp(pszArgument, "--version") == 0 || std::strcmp(pszArgument, "-v") == 0) {
            options.m_bVersion = true;
            return true;
        }
        if ((pszValue = OptionValue(pszArgument, "--target")) != nullptr) {
            if (options.m_eCommand == COMMAND_RUN) {
                strError = "--target is for kite check, kite build and kite test: a script runs on this desktop's V8";
                return false;
            }
            if (std::strcmp(pszValue, TV_TARGET) != 0) {
                strError = std::string("--target is tv, the TV's engine (V8 3.28), not '") + pszValue + "'";
                return false;
            }
            options.m_strTarget = pszValue;
            continue;
        }
        if ((pszValue = OptionValue(pszArgument, "--out")) != nullptr && options.m_eCommand == COMMAND_BUILD) {
            if (*pszValue == '\0') {
                strError = "--out needs a folder";
                return false;
            }
            options.m_strOut = pszValue;
            continue;
        }
        if (options.m_eCommand == COMMAND_CHECK || options.m_eCommand == COMMAND_BUILD) {
            strError = std::string("unknown option '") + pszArgument + "' for " +
                       (options.m_eCommand == COMMAND_CHECK ? "kite check" : "kite build");
            return false;
        }
        if ((pszValue = OptionValue(pszArgument, "--adapter")) != nullptr) {
            options.m_strAdapter = pszValue;
            options.m_bAdapterGiven = true;
        } else if ((pszValue = OptionValue(pszArgument, "--clock")) != nullptr) {
            if (std::strcmp(pszValue, "real") != 0 && std::strcmp(pszValue, "virtual") != 0) {
                strError = std::string("--clock is real or virtual, not '") + pszValue + "'";
                return false;
            }
            options.m_bVirtualClock = std::strcmp(pszValue, "virtual") == 0;
            options.m_bClockGiven = true;
        } else if ((pszValue = OptionValue(pszArgument, "--log")) != nullptr) {
            if (*pszValue == '\0') {
                strError = "--log needs a file name or -";
                return false;
            }
            options.m_bLog = true;
            options.m_strLog = pszValue;
            // FILE:FILTERS, as the platform's log reader takes them.
            std::string::size_type uColon = options.m_strLog.find(':');
            if (uColon != std::string::npos) {
                std::string strFilters = options.m_strLog.substr(uColon + 1);
                options.m_strLog.erase(uColon);
                if (options.m_strLog.empty()) {
                    strError = "--log needs a file name or - before the filters";
                    return false;
                }
                if (!options.m_logFilter.Parse(strFilters, strError)) {
                    strError = "--log: " + strError;
                    return false;
                }
            }
        } else if ((pszValue = OptionValue(pszArgument, "--log-color")) != nullptr) {
            if (std::strcmp(pszValue, "auto") != 0 && std::strcmp(pszValue, "always") != 0 &&
                std::strcmp(pszValue, "never") != 0) {
                strError = std::string("--log-color is auto, always or never, not '") + pszValue + "'";
                return false;
            }
            options.m_strLogColour = pszValue;
        } else if ((pszValue = OptionValue(pszArgument, "--plugin")) != nullptr) {
            if (*pszValue == '\0') {
                strError = "--plugin needs a path";
                return false;
            }
            options.m_aPlugins.push_back(pszValue);
        } else if (options.m_eCommand == COMMAND_TEST && IsTestOption(pszArgument)) {
            if (!ParseTestOption(pszArgument, options.m_test, strError))
                return false;
        } else if (!ParseInspect(pszArgument, options, strError)) {
            return false;
        }
    }
    if (options.m_bLog && options.m_strLog != "-" && options.m_strLogColour == "never") {
        strError = "--log-color=never applies to --log=- only: a log file holds each line as the plug-in wrote it";
        return false;
    }
    if (options.m_eCommand == COMMAND_TEST) {
        for (; i < iArgc; ++i)
            options.m_test.m_aPaths.push_back(ppArgv[i]);
        return CheckTestOptions(options, strError);
    }
    if (options.m_eCommand == COMMAND_CHECK || options.m_eCommand == COMMAND_BUILD) {
        for (; i < iArgc; ++i)
            options.m_aToolPaths.push_back(ppArgv[i]);
        return CheckToolOptions(options, strError);
    }
    if (i >= iArgc) {
        strError = "no script given";
        return false;
    }
    options.m_strScript = ppArgv[i++];
    for (; i < iArgc; ++i)
        options.m_aArgs.push_back(ppArgv[i]);
    return true;
}

}  // namespace Kite
