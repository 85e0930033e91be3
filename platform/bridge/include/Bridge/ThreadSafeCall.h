// A call of a script function that any thread may post and that runs on the
// script thread, from the host's main loop, as a plug-in's events do.
//
//   // In a method of CStore, on the script thread:
//   m_saved = Bridge::ThreadSafeCall(this, onSaved, 16, [] { /* on the main loop, once */ });
//   // On a worker thread:
//   m_saved.post(strPath);                              // onSaved(strPath)
//   m_saved.tryPost([n](const Bridge::ScriptFunction& fn) {
//       Bridge::ScriptArray args;
//       args.set(0, Bridge::ScriptObject(n));
//       fn.invoke(args);
//   });
//   m_saved.release();
//
// A call belongs to its owner, the native behind a script object. Once the
// owner is destroyed (collected, kite.destroy, the engine's detach) or the
// call is released, posts are refused and counted as dropped; posts queued
// before the owner went are dropped, never run, and counted too; those
// queued before a release still run. When nothing queued is left after
// that, the finalizer runs on the main loop, once; the owner may be gone by
// then. Blocked posts return as soon as the call closes, so the owner's
// destructor may join a worker thread that posts.
//
// What a posted call or the finalizer throws is the script's uncaught
// error, as in a router.
//
// A new call is ref'd: while open it keeps its owner's script object, and
// with it the run, alive, as a pending callback should. unref() lets the
// object be collected and the run end, as Node's unref() does for a source
// of events that must not keep a process alive.
//
// Copies share one call. When the last copy goes, the call is released.
#ifndef BRIDGE_THREAD_SAFE_CALL_H
#define BRIDGE_THREAD_SAFE_CALL_H

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "Bridge/ScriptFunction.h"

namespace Bridge {

struct CThreadCallState;

class ThreadSafeCall {
public:
    enum EPost {
        POST_OK,          // queued; it runs unless the owner goes first
        POST_QUEUE_FULL,  // tryPost: the queue holds its limit; post on the script thread: it would wait for ever
        POST_CLOSED       // released, or the owner is gone: dropped and counted
    };
    // Runs on the main loop with the call's function (which may hold no
    // function); the owner is alive while it runs, as in its methods.
    typedef std::function<void(const ScriptFunction& function)> Call;

    ThreadSafeCall();  // no call: every post answers POST_CLOSED
    // On the script thread, with the engine attached. pOwner is the native
    // as its bridge class made it (this, in a method of a ClassBuilder
    // class; the constructor may make a call too). uMaxQueue limits the
    // posts queued and not run yet, 0 for none; finalize may be empty. Throws
    // KiteJsRuntimeException when the host runs no thread-safe calls.
    ThreadSafeCall(void* pOwner, const ScriptFunction& function, std::size_t uMaxQueue = 0,
                   std::function<void()> finalize = std::function<void()>());
    ThreadSafeCall(const ThreadSafeCall& other);
    ThreadSafeCall& operator=(const ThreadSafeCall& other);
    ~ThreadSafeCall();

    // Any thread. post waits for room under a queue limit (on the script
    // thread it answers POST_QUEUE_FULL instead: the main loop that makes
    // room is waiting); tryPost never waits.
    EPost post(Call call);
    EPost tryPost(Call call);
    // The function with this one string argument, or with none.
    EPost post(std::string strArgument);
    EPost tryPost(std::string strArgument);
    EPost post();
    EPost tryPost();

    // Any thread: no post is taken after this; what is queued still runs.
    void release();
    // Any thread: posts refused or dropped so far.
    std::size_t dropped() const;

    // Script thread.
    void ref();
    void unref();

private:
    // iKind: what the item holds (ThreadSafeCall.cpp).
    EPost queue(bool bWait, int iKind, std::string&& strArgument, Call&& call);

    std::shared_ptr<CThreadCallState> m_pState;
};

}  // namespace Bridge

#endif
