// One run of kite: what its parts share. main makes it once the isolate
// exists and hands it to the parts; the script's callbacks find it through
// their isolate.
#ifndef KITE_KITE_RUN_H
#define KITE_KITE_RUN_H

#include <Cinecast/ModelAdapter.h>
#include <Cinecast/SimAdapter.h>
#include <functional>
#include <glib.h>
#include <map>
#include <memory>
#include <string>
#include <v8.h>
#include <vector>

#include "runtime/Clock.h"

namespace Kite {

class CScheduledCalls;

// A debugger's async call stacks: told when the run schedules a script's
// function for later, and around each time it runs. A task is known by a
// pointer-sized key that is even (V8 keeps odd ones for its promise jobs)
// and never reused in the run.
class CAsyncTaskListener {
public:
    virtual void TaskScheduled(void* pTask, const char* pszName, bool bRecurring) = 0;
    virtual void TaskStarted(void* pTask) = 0;
    virtual void TaskFinished(void* pTask) = 0;
    virtual void TaskCanceled(void* pTask) = 0;
    // A plug-in's callbacks (Bridge::Engine::CallbackObserver): a script
    // hands a function to a native, and a native calls one.
    virtual void CallbackHanded(v8::Local<v8::Function> function) = 0;
    virtual void CallbackCalling(v8::Local<v8::Function> function, bool bBegins) = 0;

protected:
    ~CAsyncTaskListener() = default;
};

// Where a debugger's client (kite --inspect) attaches to the run.
class CDebugger {
public:
    virtual ~CDebugger() = default;
    // Just before the script runs: --inspect-wait and --inspect-brk wait
    // here for a client to say so; --inspect-brk then pauses on the first
    // line.
    virtual void BeforeScript() = 0;
    // While a client is attached, a run with nothing left does not end.
    virtual bool HoldsRun() = 0;
    // After an error in the script's top level: serves the attached
    // clients, and nothing else, until they detach.
    virtual void HoldUntilDetached() = 0;
    // console.log/error also go to the client, with their stack.
    virtual void ConsoleCall(const v8::FunctionCallbackInfo<v8::Value>& info, const char* pszMethod) = 0;
    // An exception that nothing caught, with TEXT ("Uncaught", "Uncaught
    // (in promise)"); MESSAGE may be empty.
    virtual void Uncaught(const std::string& strText, v8::Local<v8::Value> exception,
                          v8::Local<v8::Message> message) = 0;
};

// A promise rejected with nobody to handle it yet, and its value.
struct CUnhandledRejection {
    v8::Global<v8::Promise> m_promise;
    v8::Global<v8::Value> m_value;
};

class CKiteRun {
public:
    // Belongs to the isolate until it goes, which is before the isolate.
    CKiteRun(v8::Platform* pPlatform, v8::Isolate* pIsolate);
    ~CKiteRun();
    // The run of the isolate that a script callback is called in.
    static CKiteRun& Of(v8::Isolate* pIsolate);
    // Null for an isolate without a run.
    static CKiteRun* Find(v8::Isolate* pIsolate);

    v8::Platform* const m_pPlatform;
    v8::Isolate* const m_pIsolate;
    CClock m_clock;
    GMainLoop* m_pLoop = nullptr;  // set while the loop runs
    CScheduledCalls* m_pSchedule = nullptr;  // the run's time line, while it exists
    // What the script has told the model players (--adapter=model) of media.
    DeviceAPI::Cinecast::Model::CMediaCatalogue m_modelMedia;
    // The run's simulated or model players, numbered from 0.
    DeviceAPI::Cinecast::Sim::CPlayers m_players;
    // The main script's absolute path (AbsolutePath), its name in stack
    // lines, and its folder, where kite.load starts relative paths.
    std::string m_strScriptPath;
    std::string m_strScriptDirectory;
    // kite test's runs show the paths below the folder they run in relative
    // to it, in the reports kite writes; kite's own runs show them whole.
    std::string m_strShownBelow;
    // The files that kite.load ran, as they were compiled, in order.
    std::vector<std::string> m_aLoadedFiles;
    // A test file's run ends when its harness says so, not when nothing is left.
    bool m_bHoldRun = false;
    // While m_bHoldRun holds the run: called from the loop, at its lowest
    // priority, each time it finds that with virtual time nothing is left
    // that can run without the clock moving, which would end another run.
    std::function<void()> m_whenStalled;
    // Told of each promise the script makes, while set.
    std::function<void(v8::Local<v8::Promise>)> m_promiseMade;

    bool m_bQuitRequested = false;
    int m_iQuitCode = 0;
    bool m_bHadUncaught = false;

    // Set while a debugger's client may attach.
    std::unique_ptr<CDebugger> m_pDebugger;
    // Reported once the task that rejected them is over, unless a handler
    // has been attached by then (PromiseRejections.h).
    std::vector<CUnhandledRejection> m_aUnhandledRejections;
    // console.count's counts and console.time's starts (on the run's clock,
    // in microseconds), by label.
    std::map<std::string, unsigned long> m_consoleCounts;
    std::map<std::string, gint64> m_consoleTimers;
    // Where kite test's runs send every uncaught exception instead of
    // stderr; it answers false when it cannot take one.
    std::function<bool(v8::Local<v8::Value> exception)> m_divertUncaught;
    // Told, with true, when a debugger's client holds the script (paused, or
    // before it lets the script start) and, with false, when it lets it go
    // on: what keeps time limits in real time moves them by the pause.
    std::function<void(bool bHeld)> m_debuggerHolds;
    // Set only while a debugger's client asks for async call stacks.
    CAsyncTaskListener* m_pAsyncTasks = nullptr;

    // Stops the run: no script runs after this, and the loop ends.
    void RequestQuit(int iCode);
    // A quit with a non-zero code wins over an uncaught exception.
    int ExitStatus() const;
    bool HeldByDebugger() const;
    // A path, or a place "PATH:LINE:COL", as the run's reports show it.
    std::string ShownPath(const std::string& strPath) const;

private:
    CKiteRun(const CKiteRun&) = delete;
    CKiteRun& operator=(const CKiteRun&) = delete;
};

// Scripts' dates (Bridge::V8Runtime's date clock): the virtual date of the
// run whose script asks, when its clock is virtual; the wall clock's
// otherwise, and for an isolate without a run.
double RunDateMs(v8::Isolate* pIsolate);

}  // namespace Kite

#endif
