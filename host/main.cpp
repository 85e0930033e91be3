// kite: runs one script with the plug-ins' script classes on a GLib main loop.
#include <Bridge/Engine.h>
#include <Bridge/V8Runtime.h>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "adapters/AdapterSelection.h"
#include "globals/Console.h"
#include "globals/KiteObject.h"
#include "globals/Timers.h"
#include "inspector/Inspector.h"
#include "plugins/PluginLoader.h"
#include "plugins/PluginSet.h"
#include "tv/TvTools.h"
#include "runtime/Clock.h"
#include "runtime/KiteOptions.h"
#include "runtime/KiteRun.h"
#include "runtime/LogDestination.h"
#include "runtime/MainLoop.h"
#include "runtime/PromiseRejections.h"
#include "runtime/ScheduledCalls.h"
#include "runtime/ScriptFile.h"
#include "runtime/Signals.h"
#include "runtime/UncaughtReport.h"
#include "testing/TestHarness.h"
#include "testing/TestOnlyGlobals.h"
#include "testing/TestRecords.h"
#include "testing/TestRunner.h"

namespace {

const int STATUS_BAD_START = 2;

int Fail(const std::string& strReason)
{
    std::fprintf(stderr, "kite: %s\n", strReason.c_str());
    return STATUS_BAD_START;
}

// A test file's run that cannot start as the options say: kite test tells
// it as a usage error, and runs no other file.
int RefuseTestRun(const Kite::CKiteOptions& options, const std::string& strReason)
{
    for (const std::string& strFrame : Kite::FrameRecord({"usage", strReason})) {
        ssize_t iWritten = write(options.m_test.m_iRecordFd, strFrame.data(), strFrame.size());
        (void)iWritten;
    }
    return STATUS_BAD_START;
}

// What the inspector needs of the command line.
Kite::CInspectorSettings InspectorSettingsOf(const Kite::CKiteOptions& options)
{
    Kite::CInspectorSettings settings;
    settings.m_strHost = options.m_strInspectHost;
    settings.m_iPort = options.m_iInspectPort;
    settings.m_bWaitForClient = options.m_eInspect == Kite::INSPECT_WAIT || options.m_eInspect == Kite::INSPECT_BREAK;
    settings.m_bPauseOnStart = options.m_eInspect == Kite::INSPECT_BREAK;
    settings.m_strScript = options.m_strScript;
    if (options.m_test.m_iTerminalFd >= 0)
        settings.m_iMessageFd = options.m_test.m_iTerminalFd;
    return settings;
}

// Everything that needs the entered context: globals, plug-ins, the script
// and the loop. Answers the exit status.
int RunInContext(Kite::CKiteRun& run, const Kite::CKiteOptions& options, const std::string& strSource,
                 Kite::CPluginSet& plugins, v8::Local<v8::Context> context)
{
    using namespace Kite;
    v8::Isolate* pIsolate = context->GetIsolate();
    std::string strError;

    if (options.m_eInspect != INSPECT_OFF) {
        if (!StartInspector(InspectorSettingsOf(options), context, run, strError))
            return options.m_test.m_iRecordFd >= 0 ? RefuseTestRun(options, strError) : Fail(strError);
    }
    InstallConsole(context);
    InstallTimers(context);
    InstallTestOnlyGlobals(context, InstallKiteObject(context, options.m_aArgs));
    SelectAdapter(options.m_strAdapter, context);

    std::vector<std::string> aPlugins = options.m_aPlugins;
    if (aPlugins.empty() && !FindPlugins(aPlugins, strError))
        return Fail(strError);
    for (const std::string& strPlugin : aPlugins) {
        if (!plugins.Load(strPlugin, strError))
            return Fail(strError);
    }

    run.m_strScriptPath = AbsolutePath(options.m_strScript);
    run.m_strScriptDirectory = DirectoryOf(run.m_strScriptPath);
    if (options.m_test.m_iRecordFd >= 0) {
        run.m_strShownBelow = CurrentFolder();
        return RunTestFile(run, options, strSource, context);
    }
    {
        v8::HandleScope scope(pIsolate);
        v8::TryCatch tryCatch(pIsolate);
        v8::Local<v8::Script> script;
        if (!CompileScript(context, strSource, run.m_strScriptPath).ToLocal(&script)) {
            std::fprintf(stderr, "%s\n", DescribeCompileError(pIsolate, tryCatch).c_str());
            return STATUS_BAD_START;
        }
        if (run.m_pDebugger != nullptr)
            run.m_pDebugger->BeforeScript();
        // Uncaught for a debugger too (see Bridge::Engine::Attach).
        tryCatch.SetVerbose(true);
        v8::MaybeLocal<v8::Value> result = script->Run(context);
        (void)result;
        if (tryCatch.HasCaught() && !tryCatch.HasTerminated()) {
            // As in Node: whatever is still alive, a script whose body failed
            // is not run any further, but an attached debugger may look on.
            ReportIfCaught(pIsolate, tryCatch);
            if (run.m_pDebugger != nullptr)
                run.m_pDebugger->HoldUntilDetached();
            if (int iSignal = CSignalWatch::Received())
                run.RequestQuit(128 + iSignal);
            return run.ExitStatus();
        }
    }
    ReportUnhandledRejections(pIsolate);

    RunMainLoop(run);
    ReportUnhandledRejections(pIsolate);
    return run.ExitStatus();
}

int RunScript(const Kite::CKiteOptions& options);

}  // namespace

int main(int iArgc, char** ppArgv)
{
    Kite::CSignalWatch::BlockInEveryThread();
    Kite::CKiteOptions options;
    std::string strError;
    if (!Kite::ParseOptions(iArgc, ppArgv, options, strError))
        return Fail(strError + " (" + Kite::UsageOf(options.m_eCommand) + "; kite --help says more)");
    if (options.m_bHelp || options.m_bVersion) {
        std::fputs((options.m_bHelp ? Kite::Help() : Kite::Version()).c_str(), stdout);
        return 0;
    }
    if (options.m_eCommand == Kite::COMMAND_CHECK || options.m_eCommand == Kite::COMMAND_BUILD)
        return Kite::RunTvTool(options);
    if (!Kite::IsKnownAdapter(options.m_strAdapter))
        return Fail("unknown adapter '" + options.m_strAdapter + "'");
    if (options.m_bVirtualClock && options.m_strAdapter != "model")
        return Fail("--clock=virtual needs --adapter=model");
    if (options.m_eCommand == Kite::COMMAND_TEST)
        return Kite::RunTests(options, RunScript);
    return RunScript(options);
}

namespace {

// Everything of one script's run, kite test's runs of its files included.
int RunScript(const Kite::CKiteOptions& options)
{
    std::string strError;
    std::string strSource;
    if (!Kite::ReadScriptFile(options.m_strScript, strSource, strError))
        return Fail(strError);

    Kite::CLogDestination log;
    if (options.m_bLog && !log.Open(options.m_strLog, options.m_logFilter, options.m_strLogColour, strError))
        return Fail(strError);

    int iStatus;
    {
        // Dates follow a virtual clock too, from a fixed epoch, so that a run is the same each time.
        Bridge::V8Runtime runtime(options.m_strProgram.c_str(), options.m_bVirtualClock ? Kite::RunDateMs : nullptr);
        Bridge::IsolateHolder isolate(runtime);
        v8::Isolate* pIsolate = isolate.Isolate();
        Kite::CKiteRun run(runtime.Platform(), pIsolate);
        if (options.m_bVirtualClock)
            run.m_clock.UseVirtualTime();
        Kite::CScheduledCalls schedule(run);
        Kite::CSignalWatch signals(run);
        {
            v8::Isolate::Scope isolateScope(pIsolate);
            v8::HandleScope scope(pIsolate);
            v8::Local<v8::Context> context = v8::Context::New(pIsolate);
            v8::Context::Scope contextScope(context);
            Bridge::Engine::Attach(pIsolate, context, Kite::PostScriptTask);
            Bridge::Engine::SetEventPoster(Kite::PostPluginEvent);
            Kite::InstallUncaughtReport();
            Kite::TrackPromiseRejections(pIsolate);
            Kite::CPluginSet plugins;

            iStatus = RunInContext(run, options, strSource, plugins, context);

            // Natives go before V8; nothing of the script runs any more.
            run.m_pDebugger.reset();
            schedule.CancelAll();
            Bridge::Engine::Detach();
            Kite::UnselectAdapter();
            Kite::DispatchLeftoverSources();
        }
    }
    log.Close();
    std::fflush(stdout);
    return iStatus;
}

}  // namespace
