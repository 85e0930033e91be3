#include "KiteOptions.h"

#include <cstring>
#include <glib.h>
#include <v8.h>

#include "InstallLayout.h"
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

}  // namespace

const char* Usage()
{
    return "usage: kite [--adapter=sim|gst] [--log=FILE|-[:FILTERS]] [--log-color=WHEN] [--plugin=PATH]... "
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
        "                    (default: --adapter=" + defaults.m_strAdapter + ")\n"
        "  --log=FILE|-      write the log lines to FILE, or to stderr with -\n"
        "  --log=FILE|-:FILTERS   only the lines the filters take, as the platform's\n"
        "                    log reader does: TAG:P (TAG at priority P and above, P one\n"
        "                    of V D I W E F S), TAG, *:P, *, separated by spaces\n"
        "  --log-color=auto|always|never   keep the colour escapes in the log lines\n"
        "                    (default auto: only when they go to a terminal)\n"
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
        "  kite.args               the arguments after SCRIPT.js\n"
        "  kite.quit(code = 0)     ends the run now with that status (0 to 255)\n"
        "  kite.destroy(object)    destroys a plug-in object and its player now\n"
        "  kite.gc()               a full garbage collection\n"
        "  kite.afterIdle(fn)      calls fn once the events queued so far are delivered\n"
        "  kite.tid()              the kernel thread id of the script's thread\n"
        "  kite.load(path), kite.captureLog(on), kite.takeLog()   for tests\n"
        "  sim.*                   with --adapter=sim only: count, alive, calls, answer,\n"
        "                          report, emit, burst, drain, failNextAllocation, and\n"
        "                          the event codes sim.BUFFERING ... sim.SOUND_ANALYSIS\n"
        "\n"
        "The run ends when no timer, no afterIdle call and no reachable plug-in object\n"
        "is left, or at kite.quit. Exit status:\n"
        "  0         nothing failed\n"
        "  1         an uncaught error: at once when the script's top level throws,\n"
        "            at the end when a callback, timer or promise failed\n"
        "  2         kite could not start: options, script file, syntax, plug-in, log\n"
        "  N         kite.quit(N) with N other than 0\n"
        "  130, 143  ended by SIGINT (Ctrl-C) or SIGTERM; objects are destroyed first\n"
        "\n"
        "Reference: " + ReferencePath() + "\n";
    return strHelp;
}

std::string Version()
{
    std::string strVersion = std::string("kite ") + KITE_VERSION + "\nV8 " + v8::V8::GetVersion() + "\nGLib " +
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
    int i = 1;
    for (; i < iArgc; ++i) {
        const char* pszArgument = ppArgv[i];
        const char* pszValue = nullptr;
        if (std::strcmp(pszArgument, "--") == 0) {
            ++i;
            break;
        }
        if (pszArgument[0] != '-' || pszArgument[1] == '\0')
            break;
        if (std::strcmp(pszArgument, "--help") == 0 || std::strcmp(pszArgument, "-h") == 0) {
            options.m_bHelp = true;
            return true;
        }
        if (std::strcmp(pszArgument, "--version") == 0 || std::strcmp(pszArgument, "-v") == 0) {
            options.m_bVersion = true;
            return true;
        }
        if ((pszValue = OptionValue(pszArgument, "--adapter")) != nullptr) {
            options.m_strAdapter = pszValue;
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
        } else if (!ParseInspect(pszArgument, options, strError)) {
            return false;
        }
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
