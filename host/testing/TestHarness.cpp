#include "testing/TestHarness.h"

#include <Bridge/Engine.h>
#include <Cinecast/ModelAdapter.h>
#include <algorithm>
#include <cerrno>
#include <deque>
#include <glib.h>
#include <map>
#include <unistd.h>
#include <vector>

#include "console/Inspect.h"
#include "console/ScriptValues.h"
#include "testing/PreciseCoverage.h"
#include "runtime/MainLoop.h"
#include "runtime/PromiseRejections.h"
#include "runtime/ScheduledCalls.h"
#include "runtime/ScriptFile.h"
#include "runtime/UncaughtReport.h"
#include "testing/EmbeddedScripts.h"
#include "testing/TestRecords.h"

namespace Kite {

namespace {

class CHarnessRun;

bool IsHarnessScript(const std::string& strName)
{
    for (const CEmbeddedScript* pScript = TEST_HARNESS_SCRIPTS; pScript->m_pszName != nullptr; ++pScript) {
        if (strName == pScript->m_pszName)
            return true;
    }
    return false;
}

// A call the harness makes later, in real time whatever clock the player
// keeps: time limits, and the turn that lets queued events through.
struct CLaterCall {
    CHarnessRun* m_pHarness;
    unsigned m_uId;
    guint m_uSource;
    v8::Global<v8::Function> m_function;
};

// One test file's run: where its results go, the harness's later calls and
// its handler of errors that no script caught. What it leaves behind is gone
// before the engine's own teardown.
class CHarnessRun {
public:
    CHarnessRun(CKiteRun& run, int iRecordFd) : m_run(run), m_iRecordFd(iRecordFd) {}
    ~CHarnessRun()
    {
        m_run.m_debuggerHolds = nullptr;
        m_run.m_divertUncaught = nullptr;
        m_run.m_whenStalled = nullptr;
        m_run.m_promiseMade = nullptr;
        m_run.m_pIsolate->SetPromiseHook(nullptr);
        m_madePromises.clear();
        m_stallWatcher.Reset();
        m_uncaught.Reset();
        while (!m_later.empty()) {
            guint uSource = m_later.begin()->second->m_uSource;
            m_later.erase(m_later.begin());
            g_source_remove(uSource);
        }
        m_run.m_bHoldRun = false;
        close(m_iRecordFd);
    }

    // The run of the harness's natives: their function's data.
    static CHarnessRun& Of(const v8::FunctionCallbackInfo<v8::Value>& info)
    {
        return *static_cast<CHarnessRun*>(info.Data().As<v8::External>()->Value());
    }

    void Send(const std::vector<std::string>& aFields)
    {
        for (const std::string& strFrame : FrameRecord(aFields)) {
            // One write, which a pipe keeps whole.
            while (write(m_iRecordFd, strFrame.data(), strFrame.size()) < 0 && errno == EINTR) {
            }
        }
    }

    // A debugger's client holds the run: the time limits stand still until
    // it lets go, here and in kite test's watch of the file.
    void DebuggerHolds(bool bHeld)
    {
        if (bHeld) {
            if (m_llHeldSinceUs == 0)
                m_llHeldSinceUs = g_get_monotonic_time();
            Send({"pause"});
            return;
        }
        if (m_llHeldSinceUs == 0)
            return;
        gint64 llHeldUs = g_get_monotonic_time() - m_llHeldSinceUs;
        m_llHeldSinceUs = 0;
        for (const auto& entry : m_later) {
            GSource* pSource = g_main_context_find_source_by_id(nullptr, entry.second->m_uSource);
            gint64 llReady = pSource != nullptr ? g_source_get_ready_time(pSource) : -1;
            // Idle calls (-1) are no limits.
            if (llReady >= 0)
                g_source_set_ready_time(pSource, llReady + llHeldUs);
        }
        Send({"resume"});
    }

    bool ToHarness(v8::Local<v8::Value> exception)
    {
        // An error of the handler itself goes to stderr as usual.
        if (m_bInUncaught || m_uncaught.IsEmpty())
            return false;
        m_bInUncaught = true;
        v8::Isolate* pIsolate = m_run.m_pIsolate;
        v8::HandleScope scope(pIsolate);
        v8::TryCatch guard(pIsolate);
        v8::Local<v8::Value> aArguments[] = {exception};
        bool bTaken = !m_uncaught.Get(pIsolate)
                           ->Call(pIsolate->GetCurrentContext(), v8::Undefined(pIsolate), 1, aArguments)
                           .IsEmpty();
        m_bInUncaught = false;
        return bTaken;
    }

    // Watches for stalls while a test or hook awaits (see Awaiting).
    void WatchStalls()
    {
        m_run.m_whenStalled = [this]() { TellStall(); };
        m_run.m_promiseMade = [this](v8::Local<v8::Promise> promise) { NotePromise(promise); };
        m_run.m_pIsolate->SetPromiseHook(TellPromiseMade);
    }

    void Await(v8::Local<v8::Value> watcher)
    {
        m_madePromises.clear();
        m_stallWatcher.Reset();
        if (watcher->IsFunction())
            m_stallWatcher.Reset(m_run.m_pIsolate, watcher.As<v8::Function>());
    }

    CKiteRun& m_run;
    std::map<unsigned, CLaterCall*> m_later;
    unsigned m_uNextLater = 1;
    // The harness's handler of errors that no script caught.
    v8::Global<v8::Function> m_uncaught;
    // The model's media as the running test found them.
    std::map<std::string, DeviceAPI::Cinecast::Model::CMedia> m_mapMediaBeforeTest;

private:
    // A promise that the file's own code made, and where.
    struct CMadePromise {
        v8::Global<v8::Promise> m_promise;
        std::string m_strWhere;  // FILE:LINE:COLUMN
        // Its script's source, and the line in it: read only when told.
        v8::Global<v8::String> m_source;
        int m_iLine = 0;
    };
    // Enough to find the awaited one among the newest that are still pending.
    static const std::size_t MAX_MADE_PROMISES = 64;

    CHarnessRun(const CHarnessRun&) = delete;
    CHarnessRun& operator=(const CHarnessRun&) = delete;

    static void TellPromiseMade(v8::PromiseHookType eType, v8::Local<v8::Promise> promise, v8::Local<v8::Value>)
    {
        CKiteRun& run = CKiteRun::Of(promise->GetIsolate());
        if (eType == v8::PromiseHookType::kInit && run.m_promiseMade)
            run.m_promiseMade(promise);
    }

    // Where the script's code made the promise: an await, a new Promise, a
    // then. The harness's own are left out.
    void NotePromise(v8::Local<v8::Promise> promise)
    {
        if (m_stallWatcher.IsEmpty())
            return;
        v8::Isolate* pIsolate = m_run.m_pIsolate;
        v8::HandleScope scope(pIsolate);
        v8::Local<v8::StackTrace> trace = v8::StackTrace::CurrentStackTrace(pIsolate, 1);
        if (trace->GetFrameCount() == 0)
            return;
        v8::Local<v8::StackFrame> frame = trace->GetFrame(pIsolate, 0);
        const std::string strScript = TextOfValue(pIsolate, frame->GetScriptNameOrSourceURL());
        if (strScript.empty() || IsHarnessScript(strScript))
            return;
        CMadePromise made;
        made.m_promise.Reset(pIsolate, promise);
        made.m_promise.SetWeak();
        made.m_strWhere = m_run.ShownPath(strScript) + ":" + std::to_string(frame->GetLineNumber()) + ":" +
                          std::to_string(frame->GetColumn());
        made.m_source.Reset(pIsolate, frame->GetScriptSource());
        made.m_iLine = frame->GetLineNumber();
        m_madePromises.push_back(std::move(made));
        if (m_madePromises.size() > MAX_MADE_PROMISES)
            m_madePromises.pop_front();
    }

    static std::string SourceLine(const std::string& strSource, int iLine)
    {
        const std::size_t MAX_SHOWN = 100;
        std::size_t uStart = 0;
        for (int i = 1; i < iLine && uStart != std::string::npos; ++i) {
            uStart = strSource.find('\n', uStart);
            if (uStart != std::string::npos)
                ++uStart;
        }
        if (uStart == std::string::npos)
            return std::string();
        std::string strLine = strSource.substr(uStart, strSource.find('\n', uStart) - uStart);
        const std::size_t uFirst = strLine.find_first_not_of(" \t");
        const std::size_t uLast = strLine.find_last_not_of(" \t\r");
        strLine = uFirst == std::string::npos ? std::string() : strLine.substr(uFirst, uLast - uFirst + 1);
        return strLine.size() > MAX_SHOWN ? strLine.substr(0, MAX_SHOWN) + "..." : strLine;
    }

    // Tells the awaiting test, once, what the stalled clock has: its
    // reading, the next call scheduled, the newest promise of the file's
    // code that is still pending, and a held medium that a prepare waits on.
    void TellStall()
    {
        if (m_stallWatcher.IsEmpty() || m_run.m_bQuitRequested)
            return;
        v8::Isolate* pIsolate = m_run.m_pIsolate;
        v8::HandleScope scope(pIsolate);
        v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
        v8::Local<v8::Function> watcher = m_stallWatcher.Get(pIsolate);
        m_stallWatcher.Reset();
        v8::Local<v8::Object> stall = v8::Object::New(pIsolate);
        auto set = [&](v8::Local<v8::Object> object, const char* pszName, v8::Local<v8::Value> value) {
            object->Set(context, Bridge::NewText(pIsolate, pszName), value).Check();
        };
        set(stall, "now", v8::Number::New(pIsolate, static_cast<double>(m_run.m_clock.NowUs()) / 1000.0));
        const std::vector<CScheduledCalls::CPending> aPending = m_run.m_pSchedule->Pending();
        if (!aPending.empty()) {
            set(stall, "next", Bridge::NewText(pIsolate, CScheduledCalls::KindName(aPending.front().m_eKind)));
            set(stall, "nextAt", v8::Number::New(pIsolate, static_cast<double>(aPending.front().m_llAtUs) / 1000.0));
        }
        const std::vector<std::string> aHeld = m_run.m_modelMedia.HeldUrls();
        if (!aHeld.empty())
            set(stall, "held", Bridge::NewText(pIsolate, aHeld.front()));
        for (auto it = m_madePromises.rbegin(); it != m_madePromises.rend(); ++it) {
            if (it->m_promise.IsEmpty() || it->m_promise.Get(pIsolate)->State() != v8::Promise::kPending)
                continue;
            set(stall, "where", Bridge::NewText(pIsolate, it->m_strWhere));
            if (!it->m_source.IsEmpty()) {
                const std::string strSource = TextOfValue(pIsolate, it->m_source.Get(pIsolate));
                set(stall, "line", Bridge::NewText(pIsolate, SourceLine(strSource, it->m_iLine)));
            }
            break;
        }
        m_madePromises.clear();
        v8::TryCatch tryCatch(pIsolate);
        v8::Local<v8::Value> aArguments[] = {stall};
        v8::MaybeLocal<v8::Value> result = watcher->Call(context, v8::Undefined(pIsolate), 1, aArguments);
        (void)result;
        ReportIfCaught(pIsolate, tryCatch);
        ReportUnhandledRejections(pIsolate);
    }

    const int m_iRecordFd;
    bool m_bInUncaught = false;
    v8::Global<v8::Function> m_stallWatcher;
    std::deque<CMadePromise> m_madePromises;
    gint64 m_llHeldSinceUs = 0;
};

// record(kind, ...fields)
void Record(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    std::vector<std::string> aFields;
    for (int i = 0; i < info.Length(); ++i) {
        std::string strField;
        DisplayText(info.GetIsolate(), info[i], strField);
        aFields.push_back(strField);
    }
    if (!aFields.empty())
        CHarnessRun::Of(info).Send(aFields);
}

void FreeLater(gpointer pData)
{
    delete static_cast<CLaterCall*>(pData);
}

gboolean RunLater(gpointer pData)
{
    CLaterCall* pCall = static_cast<CLaterCall*>(pData);
    CHarnessRun& harness = *pCall->m_pHarness;
    harness.m_later.erase(pCall->m_uId);
    if (harness.m_run.m_bQuitRequested)
        return G_SOURCE_REMOVE;
    v8::Isolate* pIsolate = harness.m_run.m_pIsolate;
    v8::HandleScope scope(pIsolate);
    // Rejections that what ran before left unhandled belong to it.
    ReportUnhandledRejections(pIsolate);
    v8::TryCatch tryCatch(pIsolate);
    v8::MaybeLocal<v8::Value> result =
        pCall->m_function.Get(pIsolate)->Call(pIsolate->GetCurrentContext(), v8::Undefined(pIsolate), 0, nullptr);
    (void)result;
    ReportIfCaught(pIsolate, tryCatch);
    ReportUnhandledRejections(pIsolate);
    return G_SOURCE_REMOVE;
}

// later(fn, ms): an id for cancel. Below the priority of player events and
// afterIdle calls, so that with ms 0 those already queued come first.
void Later(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    if (!info[0]->IsFunction()) {
        Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::TYPE_ERROR,
                                 "later: the first argument must be a function");
        return;
    }
    CHarnessRun& harness = CHarnessRun::Of(info);
    double dMs = info[1]->NumberValue(pIsolate->GetCurrentContext()).FromMaybe(0.0);
    CLaterCall* pCall = new CLaterCall;
    pCall->m_pHarness = &harness;
    pCall->m_uId = harness.m_uNextLater++;
    pCall->m_function.Reset(pIsolate, info[0].As<v8::Function>());
    harness.m_later[pCall->m_uId] = pCall;
    if (dMs >= 1.0)
        pCall->m_uSource = g_timeout_add_full(G_PRIORITY_DEFAULT_IDLE, static_cast<guint>(std::min(dMs, 2147483647.0)),
                                              RunLater, pCall, FreeLater);
    else
        pCall->m_uSource = g_idle_add_full(G_PRIORITY_DEFAULT_IDLE, RunLater, pCall, FreeLater);
    info.GetReturnValue().Set(static_cast<double>(pCall->m_uId));
}

// awaiting(watcher): from now until awaiting() again, with virtual time,
// watcher({ now, next, nextAt, where, line, held }) is called once if the run
// stalls: nothing is left that can run without the clock moving.
void Awaiting(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    CHarnessRun::Of(info).Await(info[0]);
}

void Cancel(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    CHarnessRun& harness = CHarnessRun::Of(info);
    double dId = info[0]->IsNumber() ? info[0].As<v8::Number>()->Value() : 0.0;
    auto it = harness.m_later.find(static_cast<unsigned>(std::max(0.0, std::min(dId, 4294967295.0))));
    if (it == harness.m_later.end())
        return;
    guint uSource = it->second->m_uSource;
    harness.m_later.erase(it);
    g_source_remove(uSource);
}

// Milliseconds of real time, for durations.
void Clock(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    info.GetReturnValue().Set(static_cast<double>(g_get_monotonic_time()) / 1000.0);
}

// shownPath(place): a file's path, or "PATH:LINE:COL", as the report shows it.
void ShownPath(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    std::string strPlace = CKiteRun::Of(pIsolate).ShownPath(TextOfValue(pIsolate, info[0]));
    info.GetReturnValue().Set(Bridge::NewText(pIsolate, strPlace));
}

void Quit(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    CHarnessRun::Of(info).m_run.RequestQuit(0);
}

// objectsMade(): the mark of leftObjects.
void ObjectsMade(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    info.GetReturnValue().Set(static_cast<double>(Bridge::Engine::ObjectsMade()));
}

// leftObjects(mark): [{ object, className, madeAt }] of the plug-in objects
// made since the mark and still alive, oldest first.
void LeftObjects(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    double dMark = info[0]->IsNumber() ? info[0].As<v8::Number>()->Value() : 0.0;
    std::vector<Bridge::Engine::LiveObject> aLeft =
        Bridge::Engine::LiveObjectsSince(static_cast<unsigned long long>(std::max(0.0, dMark)));
    v8::Local<v8::Array> left = v8::Array::New(pIsolate, static_cast<int>(aLeft.size()));
    for (std::size_t i = 0; i < aLeft.size(); ++i) {
        v8::Local<v8::Object> entry = v8::Object::New(pIsolate);
        entry->Set(context, Bridge::NewText(pIsolate, "object"), aLeft[i].m_object).Check();
        entry->Set(context, Bridge::NewText(pIsolate, "className"), Bridge::NewText(pIsolate, aLeft[i].m_pszClassName))
            .Check();
        entry->Set(context, Bridge::NewText(pIsolate, "madeAt"), Bridge::NewText(pIsolate, aLeft[i].m_strMadeAt)).Check();
        left->Set(context, static_cast<uint32_t>(i), entry).Check();
    }
    info.GetReturnValue().Set(left);
}

// destroy(object), whatever the script made of kite.destroy.
void DestroyObject(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    if (info[0]->IsObject())
        info.GetReturnValue().Set(Bridge::Engine::DestroyObject(info[0].As<v8::Object>()));
}

// keepMedia() at a test's start, restoreMedia() at its end: what the test
// described goes.
void KeepMedia(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    CHarnessRun& harness = CHarnessRun::Of(info);
    harness.m_mapMediaBeforeTest = harness.m_run.m_modelMedia.Described();
}

void RestoreMedia(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    CHarnessRun& harness = CHarnessRun::Of(info);
    harness.m_run.m_modelMedia.Replace(harness.m_mapMediaBeforeTest);
}

// inspect(value) and listing(value): a value as assertion messages show
// it, as the console would, or one entry a line for a diff to compare.
void ReportText(const v8::FunctionCallbackInfo<v8::Value>& info, bool bListing)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    std::string strText;
    if (InspectValue(pIsolate->GetCurrentContext(), info[0], ReportInspectOptions(bListing), strText))
        info.GetReturnValue().Set(Bridge::NewText(pIsolate, strText));
}

void InspectForReport(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    ReportText(info, false);
}

void ListingForReport(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    ReportText(info, true);
}

// Runs the harness's scripts; each one's value is a function that takes the
// shared object and adds to it. False with the exception in the caller's
// TryCatch.
bool LoadHarness(v8::Local<v8::Context> context, const CKiteOptions& options, CHarnessRun& run,
                 v8::Local<v8::Object>& harness)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Object> natives = v8::Object::New(pIsolate);
    v8::Local<v8::External> self = v8::External::New(pIsolate, &run);
    SetFunction(context, natives, "record", Record, self);
    SetFunction(context, natives, "later", Later, self);
    SetFunction(context, natives, "cancel", Cancel, self);
    SetFunction(context, natives, "awaiting", Awaiting, self);
    SetFunction(context, natives, "clock", Clock);
    SetFunction(context, natives, "quit", Quit, self);
    SetFunction(context, natives, "shownPath", ShownPath);
    SetFunction(context, natives, "objectsMade", ObjectsMade);
    SetFunction(context, natives, "leftObjects", LeftObjects);
    SetFunction(context, natives, "destroy", DestroyObject);
    SetFunction(context, natives, "keepMedia", KeepMedia, self);
    SetFunction(context, natives, "restoreMedia", RestoreMedia, self);
    SetFunction(context, natives, "inspect", InspectForReport);
    SetFunction(context, natives, "listing", ListingForReport);
    v8::Local<v8::Object> settings = v8::Object::New(pIsolate);
    settings->Set(context, Bridge::NewText(pIsolate, "file"), Bridge::NewText(pIsolate, options.m_strScript)).Check();
    settings->Set(context, Bridge::NewText(pIsolate, "timeout"), v8::Number::New(pIsolate, options.m_test.m_iTimeoutMs))
        .Check();
    if (options.m_test.m_bFilter)
        settings->Set(context, Bridge::NewText(pIsolate, "filter"), Bridge::NewText(pIsolate, options.m_test.m_strFilter))
            .Check();
    v8::Local<v8::Object> shared = v8::Object::New(pIsolate);
    shared->Set(context, Bridge::NewText(pIsolate, "natives"), natives).Check();
    shared->Set(context, Bridge::NewText(pIsolate, "options"), settings).Check();

    for (const CEmbeddedScript* pScript = TEST_HARNESS_SCRIPTS; pScript->m_pszName != nullptr; ++pScript) {
        v8::Local<v8::Script> script;
        v8::Local<v8::Value> value;
        if (!CompileScript(context, pScript->m_pszSource, pScript->m_pszName).ToLocal(&script) ||
            !script->Run(context).ToLocal(&value))
            return false;
        v8::Local<v8::Value> aArguments[] = {shared};
        if (!value->IsFunction() ||
            value.As<v8::Function>()->Call(context, v8::Undefined(pIsolate), 1, aArguments).IsEmpty())
            return false;
    }
    v8::Local<v8::Value> value;
    if (!shared->Get(context, Bridge::NewText(pIsolate, "harness")).ToLocal(&value) || !value->IsObject())
        return false;
    harness = value.As<v8::Object>();
    if (!harness->Get(context, Bridge::NewText(pIsolate, "uncaught")).ToLocal(&value) || !value->IsFunction())
        return false;
    run.m_uncaught.Reset(pIsolate, value.As<v8::Function>());
    return true;
}

// harness[name](argument)
void CallHarness(v8::Local<v8::Object> harness, const char* pszName, v8::Local<v8::Value> argument)
{
    v8::Isolate* pIsolate = harness->GetIsolate();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    v8::TryCatch tryCatch(pIsolate);
    v8::Local<v8::Value> function;
    if (harness->Get(context, Bridge::NewText(pIsolate, pszName)).ToLocal(&function) && function->IsFunction()) {
        v8::Local<v8::Value> aArguments[] = {argument};
        v8::MaybeLocal<v8::Value> result = function.As<v8::Function>()->Call(context, harness, 1, aArguments);
        (void)result;
    }
    ReportIfCaught(pIsolate, tryCatch);
}

// For kite test --watch: each file once, as an absolute path.
void SendLoadedFiles(CHarnessRun& harness, const std::vector<std::string>& aFiles)
{
    std::vector<std::string> aFields = {"loaded"};
    for (const std::string& strFile : aFiles) {
        std::string strAbsolute = AbsolutePath(strFile);
        if (std::find(aFields.begin(), aFields.end(), strAbsolute) == aFields.end())
            aFields.push_back(strAbsolute);
    }
    harness.Send(aFields);
}

}  // namespace

int RunTestFile(CKiteRun& run, const CKiteOptions& options, const std::string& strSource,
                v8::Local<v8::Context> context)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::HandleScope scope(pIsolate);
    CHarnessRun harnessRun(run, options.m_test.m_iRecordFd);
    v8::Local<v8::Object> harness;
    {
        v8::TryCatch tryCatch(pIsolate);
        if (!LoadHarness(context, options, harnessRun, harness)) {
            harnessRun.Send({"error", DescribeUncaught(pIsolate, tryCatch.Exception(), tryCatch.Message(),
                                                       "kite test's harness failed to start: ")});
            harnessRun.Send({"done"});
            return 1;
        }
    }
    // Counting starts before the file's top level: the app's files are
    // compiled by it or later.
    CPreciseCoverage coverage;
    std::string strCoverageError;
    if (options.m_test.m_bCoverage && !coverage.Start(context, strCoverageError))
        harnessRun.Send({"error", "kite test --coverage: " + strCoverageError});
    run.m_divertUncaught = [&harnessRun](v8::Local<v8::Value> exception) { return harnessRun.ToHarness(exception); };
    run.m_debuggerHolds = [&harnessRun](bool bHeld) { harnessRun.DebuggerHolds(bHeld); };
    run.m_bHoldRun = true;
    if (run.m_clock.IsVirtual())
        harnessRun.WatchStalls();
    // The file's top level has a time limit too.
    harnessRun.Send({"step"});
    {
        v8::TryCatch tryCatch(pIsolate);
        v8::Local<v8::Script> script;
        if (!CompileScript(context, strSource, run.m_strScriptPath).ToLocal(&script)) {
            std::string strLine = CompileErrorLine(pIsolate, tryCatch, run.ShownPath(run.m_strScriptPath));
            CallHarness(harness, "abortFile", Bridge::NewText(pIsolate, strLine));
        } else {
            // --inspect-wait and --inspect-brk wait here for a client.
            if (run.m_pDebugger != nullptr)
                run.m_pDebugger->BeforeScript();
            if (script->Run(context).IsEmpty()) {
                if (!tryCatch.HasTerminated())
                    CallHarness(harness, "failFile", tryCatch.Exception());
            } else {
                ReportUnhandledRejections(pIsolate);
                CallHarness(harness, "run", v8::Undefined(pIsolate));
            }
        }
    }
    RunMainLoop(run);
    SendLoadedFiles(harnessRun, run.m_aLoadedFiles);
    std::vector<CScriptCoverage> aScripts;
    if (options.m_test.m_bCoverage && strCoverageError.empty()) {
        if (!coverage.Take(run.m_aLoadedFiles, aScripts, strCoverageError))
            harnessRun.Send({"error", "kite test --coverage: " + strCoverageError});
        for (const CScriptCoverage& script : aScripts)
            harnessRun.Send(CoverageRecord(script));
    }
    return run.ExitStatus();
}

}  // namespace Kite
