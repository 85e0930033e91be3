#include "inspector/Inspector.h"

#include <algorithm>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <Bridge/Converter.h>
#include <Bridge/Engine.h>
#include <v8-inspector.h>
#include <unistd.h>
#include <unordered_map>
#include <vector>

#include "inspector/InspectorServer.h"
#include "inspector/InspectorText.h"
#include "runtime/KiteRun.h"
#include "runtime/Signals.h"

namespace Kite {

namespace {

using v8_inspector::StringBuffer;
using v8_inspector::StringView;

// file:// and the absolute path, escaped; empty when it cannot be one.
std::string FileUrlOf(const std::string& strPath)
{
    gchar* pszAbsolute = g_canonicalize_filename(strPath.c_str(), nullptr);
    gchar* pszUrl = g_filename_to_uri(pszAbsolute, nullptr, nullptr);
    std::string strUrl = pszUrl != nullptr ? pszUrl : "";
    g_free(pszUrl);
    g_free(pszAbsolute);
    return strUrl;
}

std::string BaseNameOf(const std::string& strPath)
{
    std::string::size_type uSlash = strPath.rfind('/');
    return uSlash == std::string::npos ? strPath : strPath.substr(uSlash + 1);
}

// One client's session: what V8 answers goes back to that client.
// Libnode has no RTTI: this file is built without it (see host/CMakeLists.txt).
class CSession : public v8_inspector::V8Inspector::Channel {
public:
    CSession(v8_inspector::V8Inspector& inspector, CInspectorServer& server, int iClient)
        : m_server(server), m_iClient(iClient)
    {
        m_pSession = inspector.connect(INSPECTOR_CONTEXT_GROUP, this, StringView());
    }

    v8_inspector::V8InspectorSession& Session() { return *m_pSession; }

    void sendResponse(int, std::unique_ptr<StringBuffer> message) override
    {
        m_server.Send(m_iClient, Utf8Of(message->string()));
    }

    void sendNotification(std::unique_ptr<StringBuffer> message) override
    {
        m_server.Send(m_iClient, Utf8Of(message->string()));
    }

    void flushProtocolNotifications() override {}

    bool m_bDetached = false;

private:
    CInspectorServer& m_server;
    int m_iClient;
    std::unique_ptr<v8_inspector::V8InspectorSession> m_pSession;
};

// Async call stacks, while a client asks for them: the run's timers,
// intervals and afterIdle calls from where the script scheduled them, and a
// plug-in's callback, at each call from the main loop, from where the script
// last handed that function over (assigned it to a callback property). V8
// follows promise jobs itself.
class CAsyncStacks : public CAsyncTaskListener {
public:
    CAsyncStacks(v8_inspector::V8Inspector& inspector, v8::Isolate* pIsolate)
        : m_inspector(inspector), m_pIsolate(pIsolate)
    {
        CKiteRun::Of(m_pIsolate).m_pAsyncTasks = this;
        Bridge::Engine::SetCallbackObserver(&CALLBACK_OBSERVER);
    }

    ~CAsyncStacks()
    {
        Bridge::Engine::SetCallbackObserver(nullptr);
        CKiteRun::Of(m_pIsolate).m_pAsyncTasks = nullptr;
        for (auto& entry : m_held)
            delete entry.second;
    }

    void TaskScheduled(void* pTask, const char* pszName, bool bRecurring) override
    {
        m_inspector.asyncTaskScheduled(ViewOf(std::string(pszName)), pTask, bRecurring);
    }

    void TaskStarted(void* pTask) override { m_inspector.asyncTaskStarted(pTask); }
    void TaskFinished(void* pTask) override { m_inspector.asyncTaskFinished(pTask); }
    void TaskCanceled(void* pTask) override { m_inspector.asyncTaskCanceled(pTask); }

    // Each function is one recurring task, whose stack is that of its
    // latest hand-over by a script.
    void CallbackHanded(v8::Local<v8::Function> function) override
    {
        if (!ScriptIsRunning())
            return;
        CHeld* pHeld = Find(function);
        if (pHeld == nullptr) {
            pHeld = new CHeld{this, v8::Global<v8::Function>(m_pIsolate, function), function->GetIdentityHash()};
            pHeld->m_function.SetWeak(pHeld, Collected, v8::WeakCallbackType::kParameter);
            m_held.emplace(pHeld->m_iHash, pHeld);
        }
        m_inspector.asyncTaskScheduled(ViewOf(std::string("callback")), pHeld, true);
    }

    // Only a call from the loop is the task: one from inside a script's
    // call of a native has its caller's stack.
    void CallbackCalling(v8::Local<v8::Function> function, bool bBegins) override
    {
        if (bBegins) {
            CHeld* pHeld = ScriptIsRunning() ? nullptr : Find(function);
            m_aCalling.push_back(pHeld);
            if (pHeld != nullptr)
                m_inspector.asyncTaskStarted(pHeld);
            return;
        }
        // One that began before this listener did ends unmatched.
        if (m_aCalling.empty())
            return;
        CHeld* pHeld = m_aCalling.back();
        m_aCalling.pop_back();
        if (pHeld != nullptr)
            m_inspector.asyncTaskFinished(pHeld);
    }

private:
    struct CHeld {
        CAsyncStacks* m_pOwner;
        v8::Global<v8::Function> m_function;
        int m_iHash;
    };

    static void Handed(v8::Isolate* pIsolate, v8::Local<v8::Function> function)
    {
        if (CAsyncTaskListener* pListener = CKiteRun::Of(pIsolate).m_pAsyncTasks)
            pListener->CallbackHanded(function);
    }

    static void Calling(v8::Isolate* pIsolate, v8::Local<v8::Function> function, bool bBegins)
    {
        if (CAsyncTaskListener* pListener = CKiteRun::Of(pIsolate).m_pAsyncTasks)
            pListener->CallbackCalling(function, bBegins);
    }

    static constexpr Bridge::Engine::CallbackObserver CALLBACK_OBSERVER = {Handed, Calling};

    // V8 drops the task's stack when it needs room; a later function that
    // gets the same key is scheduled anew.
    static void Collected(const v8::WeakCallbackInfo<CHeld>& info)
    {
        CHeld* pHeld = info.GetParameter();
        pHeld->m_function.Reset();
        CAsyncStacks& owner = *pHeld->m_pOwner;
        auto range = owner.m_held.equal_range(pHeld->m_iHash);
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second == pHeld) {
                owner.m_held.erase(it);
                break;
            }
        }
        std::replace(owner.m_aCalling.begin(), owner.m_aCalling.end(), pHeld, static_cast<CHeld*>(nullptr));
        delete pHeld;
    }

    bool ScriptIsRunning() const
    {
        v8::HandleScope scope(m_pIsolate);
        return v8::StackTrace::CurrentStackTrace(m_pIsolate, 1)->GetFrameCount() > 0;
    }

    CHeld* Find(v8::Local<v8::Function> function) const
    {
        auto range = m_held.equal_range(function->GetIdentityHash());
        for (auto it = range.first; it != range.second; ++it) {
            if (it->second->m_function.Get(m_pIsolate) == function)
                return it->second;
        }
        return nullptr;
    }

    v8_inspector::V8Inspector& m_inspector;
    v8::Isolate* m_pIsolate;
    std::unordered_multimap<int, CHeld*> m_held;  // by the function's identity hash
    std::vector<CHeld*> m_aCalling;  // the calls under way: their task, or null
};

class CInspector : public v8_inspector::V8InspectorClient, public CInspectorServer::CListener, public CDebugger {
public:
    CInspector(v8::Local<v8::Context> context, const CInspectorSettings& settings)
        : m_pIsolate(context->GetIsolate()), m_context(m_pIsolate, context), m_settings(settings)
    {
        v8::HandleScope scope(m_pIsolate);
        // V8's own console tells the inspector; kite's replaces it.
        v8::Local<v8::Value> console;
        if (context->Global()->Get(context, Bridge::NewText(m_pIsolate, "console")).ToLocal(&console) &&
            console->IsObject())
            m_console.Reset(m_pIsolate, console.As<v8::Object>());
        // Uncaught errors reach the client with the stack where they were
        // thrown, also those thrown before it attached.
        m_pIsolate->SetCaptureStackTraceForUncaughtExceptions(true, STACK_FRAMES);

        m_pInspector = v8_inspector::V8Inspector::create(m_pIsolate, this);
        std::vector<uint16_t> aName = Utf16Of(BaseNameOf(settings.m_strScript));
        std::string strAux = "{\"isDefault\":true}";
        v8_inspector::V8ContextInfo info(context, INSPECTOR_CONTEXT_GROUP, ViewOf(aName));
        info.auxData = ViewOf(strAux);
        m_pInspector->contextCreated(info);

        CInspectorServer::CTarget target{BaseNameOf(settings.m_strScript), FileUrlOf(settings.m_strScript),
                                         v8::V8::GetVersion()};
        m_pServer.reset(new CInspectorServer(*this, target));
    }

    ~CInspector() override
    {
        CSignalWatch::AlsoWake(nullptr);
        m_pAsyncStacks.reset();
        m_sessions.clear();
        while (!m_timers.empty())
            cancelTimer(m_timers.begin()->first);
        m_pServer.reset();
        m_pInspector.reset();
    }

    bool Listen(std::string& strError)
    {
        if (!m_pServer->Listen(m_settings.m_strHost, m_settings.m_iPort, strError))
            return false;
        CSignalWatch::AlsoWake(m_pServer->Context());
        const std::string& strAddress = m_pServer->Address();
        if (!m_pServer->IsLoopback())
            dprintf(m_settings.m_iMessageFd,
                    "kite: warning: the inspector listens on %s, which is not a loopback address: "
                    "whoever reaches it can run any code in kite\n",
                    strAddress.c_str());
        dprintf(m_settings.m_iMessageFd,
                "Debugger listening on %s\n"
                "To debug, open chrome://inspect in Chrome and pick the script under Remote Target\n"
                "(Configure... adds %s if it is not listed), or open\n%s\n",
                m_pServer->WebSocketUrl().c_str(), strAddress.c_str(), m_pServer->FrontendUrl().c_str());
        return true;
    }

    void BeforeScript() override
    {
        if (!m_settings.m_bWaitForClient)
            return;
        // A client says Runtime.runIfWaitingForDebugger once it has set its
        // breakpoints.
        Holds(true);
        while (!CSignalWatch::Received() && !m_bRunRequested)
            m_pServer->ServeOnce();
        Holds(false);
        if (!m_settings.m_bPauseOnStart)
            return;
        std::string strReason = "Break on start";
        for (auto& session : m_sessions)
            session.second->Session().schedulePauseOnNextStatement(ViewOf(strReason), StringView());
    }

    bool HoldsRun() override
    {
        if (!m_pServer->Attached())
            return false;
        if (!m_bWaitingNoted) {
            m_bWaitingNoted = true;
            Say("Waiting for the debugger to disconnect...\n");
        }
        return true;
    }

    // Only the inspector is served, as while paused: the script is over.
    void HoldUntilDetached() override
    {
        while (!CSignalWatch::Received() && HoldsRun()) {
            Drain();
            m_pServer->ServeOnce();
        }
    }

    void ConsoleCall(const v8::FunctionCallbackInfo<v8::Value>& info, const char* pszMethod) override
    {
        if (m_console.IsEmpty())
            return;
        v8::HandleScope scope(m_pIsolate);
        v8::Local<v8::Context> context = m_pIsolate->GetCurrentContext();
        v8::Local<v8::Object> console = m_console.Get(m_pIsolate);
        v8::TryCatch tryCatch(m_pIsolate);
        v8::Local<v8::Value> method;
        if (!console->Get(context, Bridge::NewText(m_pIsolate, pszMethod)).ToLocal(&method) || !method->IsFunction())
            return;
        std::vector<v8::Local<v8::Value>> aArguments;
        for (int i = 0; i < info.Length(); ++i)
            aArguments.push_back(info[i]);
        v8::MaybeLocal<v8::Value> result = method.As<v8::Function>()->Call(
            context, console, static_cast<int>(aArguments.size()), aArguments.data());
        (void)result;
    }

    // As Node reports one: the client's console shows TEXT ("Uncaught"),
    // the value, and where it was thrown.
    void Uncaught(const std::string& strText, v8::Local<v8::Value> exception, v8::Local<v8::Message> message) override
    {
        v8::HandleScope scope(m_pIsolate);
        v8::Local<v8::Context> context = m_context.Get(m_pIsolate);
        std::string strDetail = strText;
        v8::Local<v8::Value> where;
        int iLine = 0;
        int iColumn = 0;
        int iScriptId = 0;
        v8::Local<v8::StackTrace> stack;
        if (!message.IsEmpty()) {
            strDetail = Bridge::TextOf(m_pIsolate, message->Get());
            where = message->GetScriptResourceName();
            iLine = message->GetLineNumber(context).FromMaybe(0);
            iColumn = message->GetStartColumn(context).FromMaybe(-1) + 1;
            iScriptId = message->GetScriptOrigin().ScriptId();
            stack = message->GetStackTrace();
        } else {
            // A rejection's value: an error tells where it was made.
            stack = v8::Exception::GetStackTrace(exception);
            if (!stack.IsEmpty() && stack->GetFrameCount() > 0) {
                v8::Local<v8::StackFrame> top = stack->GetFrame(m_pIsolate, 0);
                where = top->GetScriptName();
                iLine = top->GetLineNumber();
                iColumn = top->GetColumn();
                iScriptId = top->GetScriptId();
            }
        }
        std::string strUrl;
        if (!where.IsEmpty() && where->IsString())
            strUrl = UrlOf(Bridge::TextOf(m_pIsolate, where.As<v8::String>()));
        std::vector<uint16_t> aText = Utf16Of(strText);
        std::vector<uint16_t> aDetail = Utf16Of(strDetail);
        std::vector<uint16_t> aUrl = Utf16Of(strUrl);
        // Line and column count from 1 here.
        m_pInspector->exceptionThrown(context, ViewOf(aText), exception, ViewOf(aDetail), ViewOf(aUrl),
                                      static_cast<unsigned>(iLine), static_cast<unsigned>(iColumn),
                                      m_pInspector->createStackTrace(stack), iScriptId);
    }

    // While paused, only the inspector's own sockets are served: timers,
    // afterIdle calls and player events wait on the main loop, in order.
    void runMessageLoopOnPause(int) override
    {
        if (m_bPaused)
            return;
        m_bPaused = true;
        Holds(true);
        // The signal first: one that came before a client's resume or
        // detach wins over it.
        while (!CSignalWatch::Received() && m_bPaused && m_pServer->Attached()) {
            Drain();
            if (m_bPaused)
                m_pServer->ServeOnce();
        }
        m_bPaused = false;
        Holds(false);
    }

    void quitMessageLoopOnPause() override { m_bPaused = false; }

    void runIfWaitingForDebugger(int) override { m_bRunRequested = true; }

    void maxAsyncCallStackDepthChanged(int iDepth) override
    {
        if (iDepth <= 0)
            m_pAsyncStacks.reset();
        else if (m_pAsyncStacks == nullptr)
            m_pAsyncStacks.reset(new CAsyncStacks(*m_pInspector, m_pIsolate));
    }

    v8::Local<v8::Context> ensureDefaultContextInGroup(int) override { return m_context.Get(m_pIsolate); }

    double currentTimeMS() override { return static_cast<double>(g_get_real_time()) / 1000.0; }

    // V8's own periodic work for its clients, such as the heap statistics
    // of an allocation timeline: on the main loop, so paused with the script.
    void startRepeatingTimer(double dSeconds, TimerCallback callback, void* pData) override
    {
        cancelTimer(pData);
        CRepeatingTimer& timer = m_timers[pData];
        timer.m_callback = callback;
        timer.m_pData = pData;
        timer.m_pIsolate = m_pIsolate;
        guint uMs = static_cast<guint>(std::max(1.0, std::min(dSeconds * 1000.0, 86400000.0)));
        timer.m_uSource = g_timeout_add(uMs, RunRepeatingTimer, &timer);
    }

    void cancelTimer(void* pData) override
    {
        auto it = m_timers.find(pData);
        if (it == m_timers.end())
            return;
        g_source_remove(it->second.m_uSource);
        m_timers.erase(it);
    }

    // Scripts are compiled under their path, which error stacks show; the
    // client knows them by file URL, as it knows Node's.
    std::unique_ptr<StringBuffer> resourceNameToUrl(const StringView& name) override
    {
        std::string strName = Utf8Of(name);
        std::string strUrl = UrlOf(strName);
        if (strUrl == strName)
            return nullptr;
        return StringBuffer::create(ViewOf(strUrl));
    }

    void OnAttach(int iClient) override
    {
        m_sessions[iClient].reset(new CSession(*m_pInspector, *m_pServer, iClient));
        m_bWaitingNoted = false;
        Say("Debugger attached.\n");
    }

    // Dispatched later, from an idle call: a message handled inside the
    // socket's own callback could pause, and then no further message, such
    // as the resume, would be read from that socket.
    void OnMessage(int iClient, std::string strMessage) override
    {
        m_queue.emplace_back(iClient, std::move(strMessage));
        if (!m_bDrainPosted) {
            m_bDrainPosted = true;
            m_pServer->Post(DrainLater, this);
        }
    }

    void OnDetach(int iClient) override
    {
        auto it = m_sessions.find(iClient);
        if (it == m_sessions.end())
            return;
        it->second->m_bDetached = true;
        EndDetachedSessions();
    }

private:
    static const int STACK_FRAMES = 10;

    // After what the script wrote to the same stream.
    void Say(const char* pszLine)
    {
        std::fflush(stderr);
        dprintf(m_settings.m_iMessageFd, "%s", pszLine);
    }

    // The run's time limits stand still while a client holds the script.
    void Holds(bool bHeld)
    {
        CKiteRun& run = CKiteRun::Of(m_pIsolate);
        if (run.m_debuggerHolds)
            run.m_debuggerHolds(bHeld);
    }

    // A script's path as the client knows it; anything else unchanged.
    static std::string UrlOf(const std::string& strName)
    {
        if (strName.empty() || strName.find("://") != std::string::npos)
            return strName;
        std::string strUrl = FileUrlOf(strName);
        return strUrl.empty() ? strName : strUrl;
    }

    struct CRepeatingTimer {
        TimerCallback m_callback;
        void* m_pData;
        v8::Isolate* m_pIsolate;
        guint m_uSource;
    };

    static gboolean RunRepeatingTimer(gpointer pTimer)
    {
        const CRepeatingTimer& timer = *static_cast<CRepeatingTimer*>(pTimer);
        v8::HandleScope scope(timer.m_pIsolate);
        timer.m_callback(timer.m_pData);
        return G_SOURCE_CONTINUE;
    }

    static gboolean DrainLater(gpointer pThis)
    {
        CInspector* pInspector = static_cast<CInspector*>(pThis);
        pInspector->m_bDrainPosted = false;
        pInspector->Drain();
        return G_SOURCE_REMOVE;
    }

    void Drain()
    {
        while (!m_queue.empty()) {
            int iClient = m_queue.front().first;
            std::vector<uint16_t> aMessage = Utf16Of(m_queue.front().second);
            m_queue.pop_front();
            auto it = m_sessions.find(iClient);
            if (it == m_sessions.end() || it->second->m_bDetached)
                continue;
            ++m_iDispatchDepth;
            {
                v8::HandleScope scope(m_pIsolate);
                it->second->Session().dispatchProtocolMessage(ViewOf(aMessage));
            }
            --m_iDispatchDepth;
        }
        EndDetachedSessions();
    }

    // A session goes only when no session's call is under way: one of them
    // may be paused inside another's.
    void EndDetachedSessions()
    {
        if (m_iDispatchDepth != 0)
            return;
        for (auto it = m_sessions.begin(); it != m_sessions.end();) {
            if (it->second->m_bDetached)
                it = m_sessions.erase(it);
            else
                ++it;
        }
    }

    v8::Isolate* m_pIsolate;
    v8::Global<v8::Context> m_context;
    v8::Global<v8::Object> m_console;
    const CInspectorSettings m_settings;
    std::unique_ptr<v8_inspector::V8Inspector> m_pInspector;
    std::unique_ptr<CInspectorServer> m_pServer;
    std::map<int, std::unique_ptr<CSession>> m_sessions;
    std::unique_ptr<CAsyncStacks> m_pAsyncStacks;  // while a client asks for them
    // By the data V8 gave; a timer's callback may cancel it.
    std::map<void*, CRepeatingTimer> m_timers;
    std::deque<std::pair<int, std::string>> m_queue;
    bool m_bDrainPosted = false;
    int m_iDispatchDepth = 0;
    bool m_bPaused = false;
    bool m_bRunRequested = false;
    bool m_bWaitingNoted = false;
};

}  // namespace

bool StartInspector(const CInspectorSettings& settings, v8::Local<v8::Context> context, CKiteRun& run,
                    std::string& strError)
{
    std::unique_ptr<CInspector> pInspector(new CInspector(context, settings));
    if (!pInspector->Listen(strError))
        return false;
    run.m_pDebugger = std::move(pInspector);
    return true;
}

}  // namespace Kite
