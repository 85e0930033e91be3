#include "Signals.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <glib.h>
#include <mutex>
#include <pthread.h>
#include <unistd.h>

#include "HostState.h"

namespace Kite {

namespace {

const int SIGNALS[] = {SIGINT, SIGTERM};
const unsigned char STOP_WATCHING = 0;

sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int iSignal : SIGNALS)
        sigaddset(&set, iSignal);
    return set;
}

// The handler only writes the signal's number here; the watcher thread acts.
int s_aPipe[2] = {-1, -1};

// Stands in for the main context's lock, a futex in GLib that
// ThreadSanitizer cannot see: held while the watcher queues, and taken by
// what it queued, so that the queued source is seen to pass between them.
std::mutex s_handOver;

std::atomic<bool> s_bReceived{false};
std::mutex s_alsoWakeLock;
GMainContext* s_pAlsoWake = nullptr;

void OnSignal(int iSignal)
{
    int iSavedErrno = errno;
    unsigned char uSignal = static_cast<unsigned char>(iSignal);
    ssize_t iWritten = write(s_aPipe[1], &uSignal, 1);
    (void)iWritten;
    errno = iSavedErrno;
}

gboolean QuitFromSignal(gpointer pSignal)
{
    { std::lock_guard<std::mutex> handOver(s_handOver); }
    CHostState::Get().RequestQuit(128 + GPOINTER_TO_INT(pSignal));
    return G_SOURCE_REMOVE;
}

void Watch(v8::Isolate* pIsolate)
{
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    unsigned char uSignal = STOP_WATCHING;
    for (;;) {
        ssize_t iRead = read(s_aPipe[0], &uSignal, 1);
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead != 1 || uSignal == STOP_WATCHING)
            return;
        // Stops script code that is running now, wherever it is; the main
        // loop, which may be waiting, is woken to end the run.
        s_bReceived = true;
        pIsolate->TerminateExecution();
        {
            std::lock_guard<std::mutex> handOver(s_handOver);
            g_idle_add_full(G_PRIORITY_HIGH, QuitFromSignal, GINT_TO_POINTER(uSignal), nullptr);
        }
        std::lock_guard<std::mutex> alsoWake(s_alsoWakeLock);
        if (s_pAlsoWake != nullptr)
            g_main_context_wakeup(s_pAlsoWake);
    }
}

}  // namespace

void CSignalWatch::BlockInEveryThread()
{
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

bool CSignalWatch::Received()
{
    return s_bReceived;
}

void CSignalWatch::AlsoWake(GMainContext* pContext)
{
    if (pContext != nullptr)
        g_main_context_ref(pContext);
    std::lock_guard<std::mutex> alsoWake(s_alsoWakeLock);
    if (s_pAlsoWake != nullptr)
        g_main_context_unref(s_pAlsoWake);
    s_pAlsoWake = pContext;
}

CSignalWatch::CSignalWatch(v8::Isolate* pIsolate)
{
    if (pipe2(s_aPipe, O_CLOEXEC) != 0)
        return;
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // A second signal acts as usual, should the clean end itself hang. The
    // read is not restarted: a handler deferred until the thread calls out
    // (as ThreadSanitizer defers them) runs when the read is made again.
    action.sa_flags = SA_RESETHAND;
    for (int iSignal : SIGNALS)
        sigaction(iSignal, &action, nullptr);
    // The main loop's context, which the watcher wakes, exists before it.
    g_main_context_default();
    m_watcher = std::thread(Watch, pIsolate);
}

CSignalWatch::~CSignalWatch()
{
    if (!m_watcher.joinable())
        return;
    ssize_t iWritten = write(s_aPipe[1], &STOP_WATCHING, 1);
    (void)iWritten;
    // No other thread takes the signals, so the handler has run for the
    // last time: later ones stay blocked until the process ends.
    m_watcher.join();
    close(s_aPipe[0]);
    close(s_aPipe[1]);
    s_aPipe[0] = s_aPipe[1] = -1;
}

}  // namespace Kite
