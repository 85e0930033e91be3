// Ctrl-C (SIGINT) and SIGTERM end a run as kite.quit does, with status
// 128 + the signal's number: the script stops where it is, even in a busy
// loop, and the objects and their players are destroyed on the way out.
#ifndef KITE_SIGNALS_H
#define KITE_SIGNALS_H

#include <glib.h>
#include <thread>
#include <v8.h>

#include "runtime/KiteRun.h"

namespace Kite {

class CSignalWatch {
public:
    // First thing in main, before any thread starts: the threads started
    // later inherit the blocked signals, which stay pending until the
    // watcher takes them, so that none reaches a thread busy in script code.
    static void BlockInEveryThread();

    // SIGINT or SIGTERM once one has come and script code is being stopped,
    // else 0: for loops that hold the script without the main context (the
    // inspector's), which AlsoWake wakes. A signal sent but not yet taken
    // by the watcher is waited for, so that such a loop cannot let the
    // script go on ahead of it.
    static int Received();
    static void AlsoWake(GMainContext* pContext);

    // Ends RUN when a signal comes.
    explicit CSignalWatch(CKiteRun& run);
    // Call before the run goes.
    ~CSignalWatch();

private:
    CSignalWatch(const CSignalWatch&) = delete;
    CSignalWatch& operator=(const CSignalWatch&) = delete;

    static void Watch(CSignalWatch* pWatch);
    static gboolean QuitFromSignal(gpointer pWatch);

    CKiteRun& m_run;
    int m_iQuitSignal = 0;  // set by the watcher before it queues the quit
    std::thread m_watcher;
};

}  // namespace Kite

#endif
