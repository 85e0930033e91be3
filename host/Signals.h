// Ctrl-C (SIGINT) and SIGTERM end a run as kite.quit does, with status
// 128 + the signal's number: the script stops where it is, even in a busy
// loop, and the objects and their players are destroyed on the way out.
#ifndef KITE_SIGNALS_H
#define KITE_SIGNALS_H

#include <glib.h>
#include <thread>
#include <v8.h>

namespace Kite {

class CSignalWatch {
public:
    // First thing in main, before any thread starts: the threads started
    // later inherit the blocked signals, so that they reach the watcher
    // alone, which waits for nothing else (a thread busy in script code may
    // not run a handler until it calls out, as under ThreadSanitizer).
    static void BlockInEveryThread();

    // True once SIGINT or SIGTERM has come: for loops that wait without the
    // main context (the inspector's), which AlsoWake wakes.
    static bool Received();
    static void AlsoWake(GMainContext* pContext);

    explicit CSignalWatch(v8::Isolate* pIsolate);
    // Call before the isolate goes.
    ~CSignalWatch();

private:
    CSignalWatch(const CSignalWatch&) = delete;
    CSignalWatch& operator=(const CSignalWatch&) = delete;

    std::thread m_watcher;
};

}  // namespace Kite

#endif
