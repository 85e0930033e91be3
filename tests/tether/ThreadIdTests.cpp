// The thread id of log lines is the kernel's id of the calling thread, kept
// per thread once asked, and asked again in a forked child. The script tests
// see the ids of the adapters' threads.
#include <TetherLog.h>
#include <gtest/gtest.h>

#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int KernelThreadId()
{
    return static_cast<int>(syscall(SYS_gettid));
}

TEST(ThreadIdTest, AForkedChildHasItsOwn)
{
    int iParent = Tether::CurrentThreadId();
    ASSERT_EQ(iParent, KernelThreadId());
    EXPECT_EQ(Tether::CurrentThreadId(), iParent);

    pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        int iChild = Tether::CurrentThreadId();
        _exit(iChild == KernelThreadId() && iChild != iParent ? 0 : 1);
    }
    int iStatus = 0;
    ASSERT_EQ(waitpid(child, &iStatus, 0), child);
    ASSERT_TRUE(WIFEXITED(iStatus));
    EXPECT_EQ(WEXITSTATUS(iStatus), 0);
    EXPECT_EQ(Tether::CurrentThreadId(), iParent);
}

}  // namespace
