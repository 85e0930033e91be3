#include "runtime/Signals.h"

#include <atomic>
#include <chrono>
#include <cerrno>
#include <condition_variable>
#include <csignal>
#include <fcntl.h>
#include <glib.h>
#include <mutex>
#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>


namespace Kite {

namespace {

const int SIGNALS[] = {SIGINT, SIGTERM};

sigset_t StopSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (int iSignal : SIGNALS)
        sigaddset(&set, iSignal);
    return set;
}

// The first of the signals that has come and that nobody took yet, or 0.
int PendingSignal()
{
    sigset_t pending;
    if (sigpending(&pending) != 0)
        return 0;
    for (int iSignal : SIGNALS) {
        if (sigismember(&pending, iSignal) == 1)
            return iSignal;
    }
    return 0;
}

// A signal's disposition and the mask that keeps it pending belong to the
// process, not to a run, and Received() is asked from loops that know no
// run: what follows the signals is kept once per process. The run itself
// is the watch's.
int s_iSignals = -1;       // signalfd of the blocked signals
int s_aStop[2] = {-1, -1};  // a byte here ends the watcher

// Stands in for the main context's lock, a futex in GLib that
// ThreadSanitizer cannot see: held while the watcher queues, and taken by
// what it queued, so that the queued source is seen to pass between them.
std::mutex s_handOver;

std::atomic<bool> s_bWatching{false};
std::mutex s_receivedLock;
std::condition_variable s_receivedSet;
int s_iReceived = 0;  // the signal, once taken

std::mutex s_alsoWakeLock;
GMainContext* s_pAlsoWake = nullptr;

// Waits on FDS until one is readable; false when polling fails.
bool WaitFor(pollfd* pFds, nfds_t uCount)
{
    for (;;) {
        if (poll(pFds, uCount, -1) >= 0)
            return true;
        if (errno != EINTR)
            return false;
    }
}

}  // namespace

gboolean CSignalWatch::QuitFromSignal(gpointer pWatch)
{
    CSignalWatch* pThis = static_cast<CSignalWatch*>(pWatch);
    int iSignal;
    {
        std::lock_guard<std::mutex> handOver(s_handOver);
        iSignal = pThis->m_iQuitSignal;
    }
    pThis->m_run.RequestQuit(128 + iSignal);
    return G_SOURCE_REMOVE;
}

void CSignalWatch::Watch(CSignalWatch* pWatch)
{
    pollfd aFds[] = {{s_aStop[0], POLLIN, 0}, {s_iSignals, POLLIN, 0}};
    if (!WaitFor(aFds, 2) || aFds[0].revents != 0)
        return;
    // The signal stays pending until all is done that Received() promises.
    int iSignal = PendingSignal();
    if (iSignal == 0)
        iSignal = SIGINT;
    // Stops script code that is running now, wherever it is; the main
    // loop, which may be waiting, is woken to end the run.
    pWatch->m_run.m_pIsolate->TerminateExecution();
    {
        std::lock_guard<std::mutex> handOver(s_handOver);
        pWatch->m_iQuitSignal = iSignal;
        g_idle_add_full(G_PRIORITY_HIGH, QuitFromSignal, pWatch, nullptr);
    }
    {
        std::lock_guard<std::mutex> received(s_receivedLock);
        s_iReceived = iSignal;
    }
    s_receivedSet.notify_all();
    {
        std::lock_guard<std::mutex> alsoWake(s_alsoWakeLock);
        if (s_pAlsoWake != nullptr)
            g_main_context_wakeup(s_pAlsoWake);
    }
    signalfd_siginfo info;
    ssize_t iRead = read(s_iSignals, &info, sizeof info);
    (void)iRead;
    // A second signal acts as usual, should the clean end itself hang: this
    // thread alone takes it now, with the default action.
    for (int i : SIGNALS)
        signal(i, SIG_DFL);
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    WaitFor(aFds, 1);
}

void CSignalWatch::BlockInEveryThread()
{
    sigset_t set = StopSignals();
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

int CSignalWatch::Received()
{
    std::unique_lock<std::mutex> received(s_receivedLock);
    // Bounded: one sent to this thread alone (raise) is never the watcher's.
    if (s_iReceived == 0 && s_bWatching && PendingSignal() != 0)
        s_receivedSet.wait_for(received, std::chrono::seconds(1), [] { return s_iReceived != 0; });
    return s_iReceived;
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

CSignalWatch::CSignalWatch(CKiteRun& run) : m_run(run)
{
    sigset_t set = StopSignals();
    s_iSignals = signalfd(-1, &set, SFD_CLOEXEC);
    if (s_iSignals < 0)
        return;
    if (pipe2(s_aStop, O_CLOEXEC) != 0) {
        close(s_iSignals);
        s_iSignals = -1;
        return;
    }
    // The main loop's context, which the watcher wakes, exists before it.
    g_main_context_default();
    s_bWatching = true;
    m_watcher = std::thread(Watch, this);
}

CSignalWatch::~CSignalWatch()
{
    if (!m_watcher.joinable())
        return;
    const char STOP = 0;
    ssize_t iWritten = write(s_aStop[1], &STOP, 1);
    (void)iWritten;
    m_watcher.join();
    // A quit queued when the loop had already ended is never dispatched.
    g_idle_remove_by_data(this);
    s_bWatching = false;
    // Signals that come from now on stay blocked until the process ends.
    close(s_aStop[0]);
    close(s_aStop[1]);
    close(s_iSignals);
    s_aStop[0] = s_aStop[1] = s_iSignals = -1;
}

}  // namespace Kite
