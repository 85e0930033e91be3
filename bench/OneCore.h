// Every thread of the program on one core for a while: the core the caller
// runs on when the scope begins.
#ifndef TETHER_BENCH_ONE_CORE_H
#define TETHER_BENCH_ONE_CORE_H

#include <sched.h>

namespace TetherBench {

class COneCoreScope {
public:
    COneCoreScope();
    // Every thread back on the cores the program was allowed at the start.
    ~COneCoreScope();
    COneCoreScope(const COneCoreScope&) = delete;
    COneCoreScope& operator=(const COneCoreScope&) = delete;

    // The core, or -1 when the threads could not be kept on one (then they
    // are left on the cores they had).
    int Core() const { return m_iCore; }

private:
    cpu_set_t m_allowed;
    int m_iCore = -1;
};

}  // namespace TetherBench

#endif
