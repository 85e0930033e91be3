#include "TetherLog.h"

#include <pthread.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace Tether {

namespace {

void OnForkChild()
{
    LogDetail::g_uForkGeneration.fetch_add(1, std::memory_order_relaxed);
}

}  // namespace

namespace LogDetail {

std::atomic<unsigned> g_uForkGeneration{1};
__thread unsigned t_uGeneration __attribute__((tls_model("initial-exec"))) = 0;
__thread int t_iThreadId __attribute__((tls_model("initial-exec"))) = 0;

int AskThreadId()
{
    // A fork's child must ask again. Watched from the first id kept, which
    // is the first that a child could inherit, rather than from load time.
    static const int s_iForkWatch = pthread_atfork(nullptr, nullptr, OnForkChild);
    (void)s_iForkWatch;
    t_iThreadId = static_cast<int>(syscall(SYS_gettid));
    t_uGeneration = g_uForkGeneration.load(std::memory_order_relaxed);
    return t_iThreadId;
}

}  // namespace LogDetail

}  // namespace Tether
