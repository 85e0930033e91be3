// Node.js 0.12 (V8 3.28, the TV engine's generation) as the plug-in's host.
//
// An addon that does for the plug-in what the TV's engine does: it loads the
// library, calls its loadBridges, installs each script class through the
// engine library (mapScriptInterface, then contextReady) on the global
// object, and runs GLib's default main context inside libuv's loop, where
// the plug-in's events are delivered. It also gives the scripts the few host
// functions that kite gives them for the same work: destroying an object,
// running the idle queue dry, the log capture and the thread id.
#include <Bridge/Converter.h>
#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <Bridge/V8Compat.h>
#include <DlogSink.h>
#include <dlfcn.h>
#include <glib.h>
#include <node.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <uv.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "adapters/SimGlobal.h"

namespace {

typedef std::vector<Bridge::ScriptBridge*> (*LoadBridgesFunction)();
typedef v8::FunctionCallbackInfo<v8::Value> CallInfo;

// The priority of the plug-in's event records: work queued at it after an
// event runs after that event's delivery.
const gint AFTER_IDLE_PRIORITY = 150;

v8::Local<v8::String> Text(v8::Isolate* pIsolate, const std::string& strText)
{
    return Bridge::NewText(pIsolate, strText);
}

void Throw(v8::Isolate* pIsolate, const std::string& strMessage)
{
    Bridge::ThrowScriptError(pIsolate, Bridge::ScriptError::ERROR, strMessage);
}

// GLib's default main context, run by libuv: before libuv waits, GLib's
// sources are prepared and its file descriptors and timeout are handed to
// libuv; after the wait, the ready sources are dispatched. The handles do
// not keep Node.js running: only afterIdle calls not yet made do.
class CGlibPump {
public:
    void Start(uv_loop_t* pLoop)
    {
        m_pLoop = pLoop;
        g_main_context_acquire(g_main_context_default());
        uv_prepare_init(pLoop, &m_prepare);
        uv_check_init(pLoop, &m_check);
        uv_timer_init(pLoop, &m_timer);
        m_prepare.data = m_check.data = this;
        uv_prepare_start(&m_prepare, Prepare);
        uv_check_start(&m_check, Check);
        uv_unref(reinterpret_cast<uv_handle_t*>(&m_prepare));
        uv_unref(reinterpret_cast<uv_handle_t*>(&m_check));
        uv_unref(reinterpret_cast<uv_handle_t*>(&m_timer));
    }
    // While held, Node.js runs on.
    void Hold()
    {
        if (m_iHolds++ == 0)
            uv_ref(reinterpret_cast<uv_handle_t*>(&m_prepare));
    }
    void Release()
    {
        if (--m_iHolds == 0)
            uv_unref(reinterpret_cast<uv_handle_t*>(&m_prepare));
    }

private:
    static void Prepare(uv_prepare_t* pHandle) { static_cast<CGlibPump*>(pHandle->data)->prepare(); }
    static void Check(uv_check_t* pHandle) { static_cast<CGlibPump*>(pHandle->data)->check(); }
    static void Woken(uv_poll_t*, int, int) {}
    static void TimedOut(uv_timer_t*) {}

    void prepare()
    {
        GMainContext* pContext = g_main_context_default();
        gint iTimeout = -1;
        bool bReady = g_main_context_prepare(pContext, &m_iPriority);
        m_aFds.resize(8);
        for (;;) {
            gint iCount = g_main_context_query(pContext, m_iPriority, &iTimeout, m_aFds.data(),
                                               static_cast<gint>(m_aFds.size()));
            bool bFits = static_cast<std::size_t>(iCount) <= m_aFds.size();
            m_aFds.resize(static_cast<std::size_t>(iCount));
            if (bFits)
                break;
        }
        watch();
        uv_timer_stop(&m_timer);
        if (bReady)
            iTimeout = 0;
        if (iTimeout >= 0)
            uv_timer_start(&m_timer, TimedOut, static_cast<uint64_t>(iTimeout), 0);
    }

    void check()
    {
        GMainContext* pContext = g_main_context_default();
        g_poll(m_aFds.data(), static_cast<guint>(m_aFds.size()), 0);
        if (g_main_context_check(pContext, m_iPriority, m_aFds.data(), static_cast<gint>(m_aFds.size())))
            g_main_context_dispatch(pContext);
    }

    // Has libuv wake for exactly the descriptors GLib asked for.
    void watch()
    {
        std::map<int, int> wanted;
        for (const GPollFD& fd : m_aFds)
            wanted[fd.fd] |= ((fd.events & G_IO_IN) ? UV_READABLE : 0) | ((fd.events & G_IO_OUT) ? UV_WRITABLE : 0);
        for (auto it = m_polls.begin(); it != m_polls.end();) {
            if (wanted.count(it->first) == 0 || wanted[it->first] != it->second.m_iEvents) {
                uv_close(reinterpret_cast<uv_handle_t*>(it->second.m_pPoll),
                         [](uv_handle_t* pHandle) { delete reinterpret_cast<uv_poll_t*>(pHandle); });
                it = m_polls.erase(it);
            } else {
                ++it;
            }
        }
        for (const auto& fd : wanted) {
            if (m_polls.count(fd.first) != 0 || fd.second == 0)
                continue;
            uv_poll_t* pPoll = new uv_poll_t;
            uv_poll_init(m_pLoop, pPoll, fd.first);
            uv_poll_start(pPoll, fd.second, Woken);
            uv_unref(reinterpret_cast<uv_handle_t*>(pPoll));
            m_polls[fd.first] = CWatch{pPoll, fd.second};
        }
    }

    struct CWatch {
        uv_poll_t* m_pPoll;
        int m_iEvents;
    };

    uv_loop_t* m_pLoop = nullptr;
    uv_prepare_t m_prepare;
    uv_check_t m_check;
    uv_timer_t m_timer;
    gint m_iPriority = 0;
    std::vector<GPollFD> m_aFds;
    std::map<int, CWatch> m_polls;
    int m_iHolds = 0;
};

// What the host keeps for the context it runs; every host function has it
// as its data. Made once and kept until the process ends, as the bridges it
// installed are.
struct CHost {
    CGlibPump m_pump;
    std::set<std::string> m_installed;  // class names
    DeviceAPI::Cinecast::Sim::CPlayers m_players;
};

CHost& HostOf(const CallInfo& info)
{
    return *static_cast<CHost*>(info.Data().As<v8::External>()->Value());
}

gboolean RunTask(gpointer pTask)
{
    reinterpret_cast<Bridge::Engine::Task>(pTask)();
    return G_SOURCE_REMOVE;
}

void PostTask(Bridge::Engine::Task task)
{
    g_idle_add(RunTask, reinterpret_cast<gpointer>(task));
}

void ReportUncaught(v8::Isolate* pIsolate, v8::Local<v8::Value> exception, v8::Local<v8::Message>)
{
    v8::Local<v8::String> text;
    std::string strText = "(unknown)";
    if (!exception.IsEmpty() && Bridge::Compat::ToString(pIsolate->GetCurrentContext(), exception).ToLocal(&text))
        strText = Bridge::TextOf(pIsolate, text);
    std::fprintf(stderr, "Uncaught %s\n", strText.c_str());
}

// loadPlugin(path): the names of the script classes it installed. As in
// kite, a class name is installed once, from the first bridge under it: a
// plug-in's loadBridges answers the bridges of earlier calls again.
void LoadPlugin(const CallInfo& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    std::string strPath;
    if (!Bridge::Converter<std::string>::From(pIsolate, info[0], strPath)) {
        Throw(pIsolate, "loadPlugin: the path must be a string");
        return;
    }
    void* pLibrary = dlopen(strPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    LoadBridgesFunction loadBridges =
        pLibrary != nullptr ? reinterpret_cast<LoadBridgesFunction>(dlsym(pLibrary, "loadBridges")) : nullptr;
    if (loadBridges == nullptr) {
        const char* pszReason = dlerror();
        Throw(pIsolate, "loadPlugin: " + strPath + ": " + (pszReason != nullptr ? pszReason : "no loadBridges"));
        return;
    }
    std::vector<Bridge::ScriptBridge*> aBridges = loadBridges();
    v8::Local<v8::Array> names = v8::Array::New(pIsolate, 0);
    for (Bridge::ScriptBridge* pBridge : aBridges) {
        if (pBridge == nullptr || !HostOf(info).m_installed.insert(pBridge->getScriptClassName()).second)
            continue;
        Bridge::Engine::InstallClass(pBridge);
        Bridge::Compat::Set(pIsolate->GetCurrentContext(), names, names->Length(),
                            Text(pIsolate, pBridge->getScriptClassName()));
    }
    info.GetReturnValue().Set(names);
}

void InstallSim(const CallInfo& info)
{
    const DeviceAPI::Cinecast::Sim::CPlayers& players = HostOf(info).m_players;
    DeviceAPI::Cinecast::SetBackendFactory(players.Factory());
    Kite::InstallSimGlobal(info.GetIsolate()->GetCurrentContext(), players);
}

void Destroy(const CallInfo& info)
{
    if (!info[0]->IsObject()) {
        Throw(info.GetIsolate(), "destroy: the argument must be an object");
        return;
    }
    info.GetReturnValue().Set(Bridge::Engine::DestroyObject(info[0].As<v8::Object>()));
}

void DestroyCollected(const CallInfo&)
{
    Bridge::Engine::DestroyCollected();
}

struct CAfterIdle {
    CHost* m_pHost;
    v8::Persistent<v8::Function> m_function;
};

gboolean RunAfterIdle(gpointer pData)
{
    CAfterIdle* pCall = static_cast<CAfterIdle*>(pData);
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    {
        v8::HandleScope scope(pIsolate);
        v8::Local<v8::Context> context = Bridge::Engine::GetContext(pIsolate);
        v8::Context::Scope contextScope(context);
        v8::Local<v8::Function> function = v8::Local<v8::Function>::New(pIsolate, pCall->m_function);
        Bridge::Compat::TryCatch tryCatch(pIsolate);
        v8::Local<v8::Value> result;
        if (!Bridge::Compat::Call(context, function, v8::Undefined(pIsolate), 0, nullptr).ToLocal(&result))
            ReportUncaught(pIsolate, tryCatch.Exception(), tryCatch.Message());
    }
    pCall->m_function.Reset();
    pCall->m_pHost->m_pump.Release();
    delete pCall;
    return G_SOURCE_REMOVE;
}

// afterIdle(fn): fn once the events queued so far are delivered.
void AfterIdle(const CallInfo& info)
{
    if (!info[0]->IsFunction()) {
        Throw(info.GetIsolate(), "afterIdle: the argument must be a function");
        return;
    }
    CAfterIdle* pCall = new CAfterIdle();
    pCall->m_pHost = &HostOf(info);
    pCall->m_function.Reset(info.GetIsolate(), info[0].As<v8::Function>());
    pCall->m_pHost->m_pump.Hold();
    g_idle_add_full(AFTER_IDLE_PRIORITY, RunAfterIdle, pCall, nullptr);
}

void CaptureLog(const CallInfo& info)
{
    if (info[0]->IsTrue())
        Dlog::StartCapture();
    else
        Dlog::StopCapture();
}

void TakeLog(const CallInfo& info)
{
    v8::Isolate* pIsolate = info.GetIsolate();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    std::vector<Dlog::CLogLine> aLines = Dlog::TakeCaptured();
    v8::Local<v8::Array> lines = v8::Array::New(pIsolate, static_cast<int>(aLines.size()));
    for (std::size_t i = 0; i < aLines.size(); ++i) {
        v8::Local<v8::Object> entry = v8::Object::New(pIsolate);
        Bridge::Compat::Set(context, entry, Text(pIsolate, "priority"), v8::Integer::New(pIsolate, aLines[i].m_iPriority));
        Bridge::Compat::Set(context, entry, Text(pIsolate, "tag"),
                            aLines[i].m_bHasTag ? Text(pIsolate, aLines[i].m_strTag).As<v8::Value>()
                                                : v8::Null(pIsolate).As<v8::Value>());
        Bridge::Compat::Set(context, entry, Text(pIsolate, "text"), Text(pIsolate, aLines[i].m_strText));
        Bridge::Compat::Set(context, lines, static_cast<uint32_t>(i), entry);
    }
    info.GetReturnValue().Set(lines);
}

void ThreadId(const CallInfo& info)
{
    info.GetReturnValue().Set(static_cast<double>(syscall(SYS_gettid)));
}

// detach(): destroys every object still alive, as the engine does when a
// page goes.
void Detach(const CallInfo&)
{
    Bridge::Engine::Detach();
}

void Init(v8::Handle<v8::Object> exports)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::Local<v8::Context> context = pIsolate->GetCurrentContext();
    Bridge::Engine::Attach(pIsolate, context, PostTask);
    Bridge::Engine::SetUncaughtHandler(ReportUncaught);
    CHost* pHost = new CHost();
    pHost->m_pump.Start(uv_default_loop());
    const struct {
        const char* m_pszName;
        v8::FunctionCallback m_function;
    } aFunctions[] = {
        {"loadPlugin", LoadPlugin}, {"installSim", InstallSim}, {"destroy", Destroy},
        {"destroyCollected", DestroyCollected}, {"afterIdle", AfterIdle}, {"captureLog", CaptureLog},
        {"takeLog", TakeLog}, {"tid", ThreadId}, {"detach", Detach},
    };
    for (const auto& entry : aFunctions) {
        v8::Local<v8::FunctionTemplate> function =
            v8::FunctionTemplate::New(pIsolate, entry.m_function, v8::External::New(pIsolate, pHost));
        Bridge::Compat::Set(context, exports, Text(pIsolate, entry.m_pszName),
                            Bridge::Compat::Checked(Bridge::Compat::GetFunction(context, function)));
    }
}

}  // namespace

NODE_MODULE(tether_node_host, Init)
