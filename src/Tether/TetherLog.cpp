#include "TetherLog.h"

#include <atomic>
#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Tether {

namespace {
// Bumped in a forked child, whose threads all have new ids.
std::atomic<unsigned> s_uForkGeneration{1};
thread_local unsigned t_uGeneration = 0;
thread_local int t_iThreadId = 0;

void OnForkChild()
{
    s_uForkGeneration.fetch_add(1, std::memory_order_relaxed);
}

struct CForkWatch {
    CForkWatch() { pthread_atfork(nullptr, nullptr, OnForkChild); }
} s_forkWatch;
}  // namespace

int CurrentThreadId()
{
    unsigned uGeneration = s_uForkGeneration.load(std::memory_order_relaxed);
    if (t_uGeneration != uGeneration) {
        t_iThreadId = static_cast<int>(syscall(SYS_gettid));
        t_uGeneration = uGeneration;
    }
    return t_iThreadId;
}

}  // namespace Tether
