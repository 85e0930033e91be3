#include "GstWorker.h"

#include <condition_variable>
#include <mutex>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

struct CPendingCall {
    const std::function<bool()>* m_pFunction = nullptr;
    bool m_bResult = false;
    bool m_bDone = false;
    std::mutex m_lock;
    std::condition_variable m_cvDone;
};

gboolean RunPendingCall(gpointer pData)
{
    CPendingCall* pCall = static_cast<CPendingCall*>(pData);
    // Taking the lock makes the caller's writes visible here for thread
    // checkers too, which do not see GLib's own locks.
    const std::function<bool()>* pFunction;
    {
        std::lock_guard<std::mutex> guard(pCall->m_lock);
        pFunction = pCall->m_pFunction;
    }
    bool bResult = (*pFunction)();
    std::lock_guard<std::mutex> guard(pCall->m_lock);
    pCall->m_bResult = bResult;
    pCall->m_bDone = true;
    pCall->m_cvDone.notify_one();
    return G_SOURCE_REMOVE;
}

gboolean QuitLoop(gpointer pLoop)
{
    g_main_loop_quit(static_cast<GMainLoop*>(pLoop));
    return G_SOURCE_REMOVE;
}

// Idle sources of one priority run in the order they were attached, so
// calls, posts and the final quit keep their order.
void AttachIdle(GMainContext* pContext, GSourceFunc function, gpointer pData)
{
    GSource* pSource = g_idle_source_new();
    g_source_set_priority(pSource, G_PRIORITY_DEFAULT);
    g_source_set_callback(pSource, function, pData, nullptr);
    g_source_attach(pSource, pContext);
    g_source_unref(pSource);
}

}  // namespace

CGstWorker::CGstWorker()
    : m_pContext(g_main_context_new())
    , m_pLoop(g_main_loop_new(m_pContext, FALSE))
{
    m_thread = std::thread([this] { Run(); });
}

CGstWorker::~CGstWorker()
{
    // Quitting from inside the loop: a quit before the loop has started
    // would be forgotten.
    AttachIdle(m_pContext, QuitLoop, m_pLoop);
    m_thread.join();
    g_main_loop_unref(m_pLoop);
    g_main_context_unref(m_pContext);
}

void CGstWorker::Run()
{
    g_main_context_push_thread_default(m_pContext);
    g_main_loop_run(m_pLoop);
    g_main_context_pop_thread_default(m_pContext);
}

bool CGstWorker::Call(const std::function<bool()>& fn)
{
    if (std::this_thread::get_id() == m_thread.get_id())
        return fn();
    CPendingCall call;
    {
        std::lock_guard<std::mutex> guard(call.m_lock);
        call.m_pFunction = &fn;
    }
    AttachIdle(m_pContext, RunPendingCall, &call);
    std::unique_lock<std::mutex> lock(call.m_lock);
    call.m_cvDone.wait(lock, [&call] { return call.m_bDone; });
    return call.m_bResult;
}

// The queue is ours rather than GLib's so that thread checkers, which do
// not see GLib's locks, see the hand-over.
void CGstWorker::Post(std::function<void()> fn)
{
    {
        std::lock_guard<std::mutex> guard(m_postedLock);
        m_aPosted.push_back(std::move(fn));
    }
    AttachIdle(m_pContext, RunPosted, this);
}

gboolean CGstWorker::RunPosted(gpointer pData)
{
    CGstWorker* pThis = static_cast<CGstWorker*>(pData);
    std::function<void()> fn;
    {
        std::lock_guard<std::mutex> guard(pThis->m_postedLock);
        fn = std::move(pThis->m_aPosted.front());
        pThis->m_aPosted.pop_front();
    }
    fn();
    return G_SOURCE_REMOVE;
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
