#include "OneCore.h"

#include <cerrno>
#include <cstdlib>
#include <dirent.h>

namespace TetherBench {

namespace {

// Threads started meanwhile inherit their starter's cores; one that ended
// meanwhile is simply not found. False when a living thread refused.
bool SetEveryThread(const cpu_set_t& cores)
{
    DIR* pTasks = opendir("/proc/self/task");
    if (pTasks == nullptr)
        return false;
    bool bAll = true;
    while (const dirent* pEntry = readdir(pTasks)) {
        int iThread = std::atoi(pEntry->d_name);
        if (iThread > 0 && sched_setaffinity(iThread, sizeof cores, &cores) != 0 && errno != ESRCH)
            bAll = false;
    }
    closedir(pTasks);
    return bAll;
}

}  // namespace

COneCoreScope::COneCoreScope()
{
    int iCore = sched_getcpu();
    if (iCore < 0 || sched_getaffinity(0, sizeof m_allowed, &m_allowed) != 0)
        return;
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(iCore, &one);
    if (SetEveryThread(one))
        m_iCore = iCore;
    else
        SetEveryThread(m_allowed);
}

COneCoreScope::~COneCoreScope()
{
    if (m_iCore >= 0)
        SetEveryThread(m_allowed);
}

}  // namespace TetherBench
