// The adapter's own thread: a GLib main loop on a context of its own. Every
// operation of the player and every event runs here, so the player needs no
// lock and handlers are never called from the caller's thread.
#ifndef CINECAST_GST_WORKER_H
#define CINECAST_GST_WORKER_H

#include <glib.h>

#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

class CGstWorker {
public:
    CGstWorker();
    // Runs what is queued, then stops the thread and joins it.
    ~CGstWorker();

    GMainContext* Context() const { return m_pContext; }

    // Runs fn on the worker thread and waits for its answer; on the worker
    // thread itself it runs fn at once.
    bool Call(const std::function<bool()>& fn);
    // Runs fn on the worker thread after what is queued, without waiting.
    void Post(std::function<void()> fn);

private:
    CGstWorker(const CGstWorker&) = delete;
    CGstWorker& operator=(const CGstWorker&) = delete;

    void Run();
    static gboolean RunPosted(gpointer pData);

    GMainContext* m_pContext;
    GMainLoop* m_pLoop;
    std::thread m_thread;
    std::mutex m_postedLock;
    std::deque<std::function<void()>> m_aPosted;
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
