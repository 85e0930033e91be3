#include "Signals.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <glib.h>
#include <unistd.h>

#include "HostState.h"

namespace Kite {

namespace {

const int SIGNALS[] = {SIGINT, SIGTERM};
const unsigned char STOP_WATCHING = 0;

// The handler only writes the signal's number here; the watcher thread acts.
int s_aPipe[2] = {-1, -1};

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
    CHostState::Get().RequestQuit(128 + GPOINTER_TO_INT(pSignal));
    return G_SOURCE_REMOVE;
}

void Watch(v8::Isolate* pIsolate)
{
    unsigned char uSignal = STOP_WATCHING;
    for (;;) {
        ssize_t iRead = read(s_aPipe[0], &uSignal, 1);
        if (iRead < 0 && errno == EINTR)
            continue;
        if (iRead != 1 || uSignal == STOP_WATCHING)
            return;
        // Stops script code that is running now, wherever it is; the main
        // loop, which may be waiting, is woken to end the run.
        pIsolate->TerminateExecution();
        g_idle_add_full(G_PRIORITY_HIGH, QuitFromSignal, GINT_TO_POINTER(uSignal), nullptr);
    }
}

}  // namespace

CSignalWatch::CSignalWatch(v8::Isolate* pIsolate)
{
    if (pipe2(s_aPipe, O_CLOEXEC) != 0)
        return;
    m_watcher = std::thread(Watch, pIsolate);
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // A second signal acts as usual, should the clean end itself hang.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    for (int iSignal : SIGNALS)
        sigaction(iSignal, &action, nullptr);
}

CSignalWatch::~CSignalWatch()
{
    if (!m_watcher.joinable())
        return;
    for (int iSignal : SIGNALS)
        std::signal(iSignal, SIG_DFL);
    ssize_t iWritten = write(s_aPipe[1], &STOP_WATCHING, 1);
    (void)iWritten;
    m_watcher.join();
    close(s_aPipe[0]);
    close(s_aPipe[1]);
    s_aPipe[0] = s_aPipe[1] = -1;
}

}  // namespace Kite
