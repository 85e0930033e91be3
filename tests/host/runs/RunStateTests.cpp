// Several of kite's runs alive at once in one process, each with its own
// isolate, taking turns as rows of a table: each run's console counts and
// timers, clock, dates, unhandled rejections and players are its own. Kept
// in a static, one run's state would show in the other's row.
#include <Bridge/Engine.h>
#include <Bridge/V8Runtime.h>
#include <Cinecast/CinecasterAdapter.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "adapters/AdapterSelection.h"
#include "globals/Console.h"
#include "globals/Timers.h"
#include "runtime/Clock.h"
#include "runtime/KiteRun.h"
#include "runtime/PromiseRejections.h"
#include "runtime/ScheduledCalls.h"

namespace {

// V8 for the process, with scripts' dates on each run's clock, as kite
// --clock=virtual starts it.
class CDatedV8 : public ::testing::Environment {
public:
    static const Bridge::V8Runtime& Runtime() { return *s_pRuntime; }
    void SetUp() override { s_pRuntime.reset(new Bridge::V8Runtime("/proc/self/exe", Kite::RunDateMs)); }
    void TearDown() override { s_pRuntime.reset(); }

private:
    static std::unique_ptr<Bridge::V8Runtime> s_pRuntime;
};
std::unique_ptr<Bridge::V8Runtime> CDatedV8::s_pRuntime;
::testing::Environment* const DATED_V8 = ::testing::AddGlobalTestEnvironment(new CDatedV8);

// One run as kite's main makes it, with the globals that keep state.
class CHostRun {
public:
    explicit CHostRun(bool bVirtualClock)
        : m_isolate(CDatedV8::Runtime()), m_run(CDatedV8::Runtime().Platform(), m_isolate.Isolate()), m_schedule(m_run)
    {
        if (bVirtualClock)
            m_run.m_clock.UseVirtualTime();
        v8::Isolate* pIsolate = m_isolate.Isolate();
        v8::Isolate::Scope isolateScope(pIsolate);
        v8::HandleScope scope(pIsolate);
        v8::Local<v8::Context> context = v8::Context::New(pIsolate);
        v8::Context::Scope contextScope(context);
        m_context.Reset(pIsolate, context);
        Bridge::Engine::Attach(pIsolate, context);
        Kite::TrackPromiseRejections(pIsolate);
        Kite::InstallConsole(context);
        Kite::InstallTimers(context);
        Kite::SelectAdapter("sim", context);
    }

    ~CHostRun()
    {
        v8::Isolate::Scope isolateScope(m_isolate.Isolate());
        m_schedule.CancelAll();
        Bridge::Engine::Detach();
        m_context.Reset();
    }

    Kite::CKiteRun& Run() { return m_run; }

    // The script's output, stdout and stderr, when run as RunTask does.
    std::pair<std::string, std::string> RunCaptured(const std::string& strScript, bool bReport)
    {
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        RunTask(strScript, bReport);
        std::string strStderr = ::testing::internal::GetCapturedStderr();
        return {::testing::internal::GetCapturedStdout(), strStderr};
    }

    // Runs the script as one task of the run's loop: its microtasks, then
    // the rejections nobody handled, when bReport says so.
    void RunTask(const std::string& strScript, bool bReport)
    {
        v8::Isolate* pIsolate = m_isolate.Isolate();
        v8::Isolate::Scope isolateScope(pIsolate);
        v8::HandleScope scope(pIsolate);
        v8::Local<v8::Context> context = m_context.Get(pIsolate);
        v8::Context::Scope contextScope(context);
        v8::TryCatch tryCatch(pIsolate);
        v8::Local<v8::Script> script;
        ASSERT_TRUE(v8::Script::Compile(context, v8::String::NewFromUtf8(pIsolate, strScript.c_str()).ToLocalChecked())
                        .ToLocal(&script))
            << strScript;
        ASSERT_FALSE(script->Run(context).IsEmpty()) << strScript;
        pIsolate->PerformMicrotaskCheckpoint();
        if (bReport)
            Kite::ReportUnhandledRejections(pIsolate);
    }

private:
    Bridge::IsolateHolder m_isolate;
    Kite::CKiteRun m_run;
    Kite::CScheduledCalls m_schedule;
    v8::Global<v8::Context> m_context;
};

TEST(RunStateTest, EachRunKeepsItsOwnConsoleClockDatesAndRejections)
{
    // A and B on virtual time, moved apart; W on the wall clock.
    CHostRun runA(true), runB(true), runW(false);
    enum ERun { A, B, W };
    const struct {
        ERun eRun;
        double dAdvanceMs;  // the run's virtual clock moves by this first
        const char* pszScript;
        bool bReport;  // the task ends: unhandled rejections are reported
        const char* pszStdout;
        const char* pszStderr;
    } aRows[] = {
        {A, 0, "console.count(); console.count('x')", false, "default: 1\nx: 1\n", ""},
        {B, 0, "console.count('x')", false, "x: 1\n", ""},
        {A, 0, "console.count('x')", false, "x: 2\n", ""},
        {A, 0, "console.time('t')", false, "", ""},
        {B, 0, "console.timeEnd('t')", false, "", "kite: warning: No such label 't' for console.timeEnd()\n"},
        {B, 0, "console.time('u')", false, "", ""},
        {A, 0, "console.time('u')", false, "", ""},
        {A, 250, "console.timeEnd('t'); console.timeEnd('u')", false, "t: 250ms\nu: 250ms\n", ""},
        {B, 40, "console.timeEnd('u')", false, "u: 40ms\n", ""},
        {A, 0, "console.log(Date.now() - Date.UTC(2000, 0, 1), performance.now())", false, "250 250\n", ""},
        {B, 0, "console.log(Date.now() - Date.UTC(2000, 0, 1), performance.now())", false, "40 40\n", ""},
        {W, 0, "console.log(Date.now() > Date.UTC(2020, 0, 1))", false, "true\n", ""},
        {A, 0, "globalThis.late = Promise.reject('from A')", false, "", ""},
        {B, 0, "Promise.reject('from B')", true, "", "Uncaught (in promise) from B\n"},
        {A, 0, "", true, "", "Uncaught (in promise) from A\n"},
    };
    for (const auto& row : aRows) {
        CHostRun& host = row.eRun == A ? runA : row.eRun == B ? runB : runW;
        if (row.dAdvanceMs > 0)
            host.Run().m_clock.SetVirtualNowUs(host.Run().m_clock.NowUs() + static_cast<gint64>(row.dAdvanceMs * 1000));
        const std::pair<std::string, std::string> output = host.RunCaptured(row.pszScript, row.bReport);
        const char* pszRun = row.eRun == A ? "A" : row.eRun == B ? "B" : "W";
        EXPECT_EQ(row.pszStdout, output.first) << pszRun << ": " << row.pszScript;
        EXPECT_EQ(row.pszStderr, output.second) << pszRun << ": " << row.pszScript;
    }
    // A run's uncaught rejection sets its own exit status.
    EXPECT_EQ(1, runA.Run().ExitStatus());
    EXPECT_EQ(1, runB.Run().ExitStatus());
    EXPECT_EQ(0, runW.Run().ExitStatus());
}

TEST(RunStateTest, EachRunNumbersItsOwnPlayersFromZero)
{
    CHostRun runA(false), runB(false);
    const struct {
        bool bA;
        int iMade;  // adapters the run makes before the script
        const char* pszScript;
        const char* pszStdout;
    } aRows[] = {
        {true, 2, "console.log(sim.count(), sim.alive())", "2 2\n"},
        {false, 1, "console.log(sim.count(), sim.alive())", "1 1\n"},
        {true, 1, "console.log(sim.count())", "3\n"},
        {false, 0, "try { sim.calls(1) } catch (e) { console.log(e.message) }",
         "sim.calls: no adapter 1 (1 constructed, numbered from 0)\n"},
    };
    std::vector<std::unique_ptr<DeviceAPI::Cinecast::CinecasterAdapter>> aAdapters;
    for (const auto& row : aRows) {
        CHostRun& host = row.bA ? runA : runB;
        // One factory for the process: the run whose turn it is holds it,
        // as kite's only run holds it for the whole process.
        DeviceAPI::Cinecast::SetBackendFactory(host.Run().m_players.Factory());
        for (int i = 0; i < row.iMade; ++i)
            aAdapters.emplace_back(new DeviceAPI::Cinecast::CinecasterAdapter());
        const std::pair<std::string, std::string> output = host.RunCaptured(row.pszScript, false);
        EXPECT_EQ(row.pszStdout, output.first) << (row.bA ? "A: " : "B: ") << row.pszScript;
        EXPECT_EQ("", output.second) << row.pszScript;
    }
    DeviceAPI::Cinecast::SetBackendFactory(nullptr);
}

}  // namespace
