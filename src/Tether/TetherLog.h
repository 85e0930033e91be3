// Log lines of the plug-in, in the platform's common frame:
// "file: function(line) > <colour>[function:line] [Thread Id:[tid]] payload<reset>".
#ifndef TETHER_TETHER_LOG_H
#define TETHER_TETHER_LOG_H

#include <atomic>
#include <dlog.h>

#define TETHER_LOG_TAG "WRT_PLUGINS/CINECAST"

#define TETHER_COLOUR_YELLOW "\033[33m"
#define TETHER_COLOUR_GREEN "\033[32m"
#define TETHER_COLOUR_RED "\033[31m"
#define TETHER_COLOUR_RESET "\033[0m"

namespace Tether {

namespace LogDetail {
// Bumped in a forked child, whose threads all have new ids.
extern std::atomic<unsigned> g_uForkGeneration;
// The calling thread's id and the generation it was asked in. In the static
// thread-storage block, which the loader keeps room for even in a library
// opened with dlopen: read with no call, on every log line.
extern __thread unsigned t_uGeneration __attribute__((tls_model("initial-exec")));
extern __thread int t_iThreadId __attribute__((tls_model("initial-exec")));
int AskThreadId();
}  // namespace LogDetail

// The kernel id of the calling thread. A thread's id never changes, so it is
// asked of the kernel once per thread (and again in a forked child).
inline int CurrentThreadId()
{
    if (LogDetail::t_uGeneration != LogDetail::g_uForkGeneration.load(std::memory_order_relaxed))
        return LogDetail::AskThreadId();
    return LogDetail::t_iThreadId;
}

constexpr const char* BaseName(const char* pszPath)
{
    const char* pszBase = pszPath;
    for (const char* p = pszPath; *p != '\0'; ++p)
        if (*p == '/')
            pszBase = p + 1;
    return pszBase;
}

}  // namespace Tether

// Every line names the statement that writes it: its file, function and
// line. So these are macros, and no helper writes a line for its caller.
#define TETHER_LOG_FRAME(tag, prio, colour, fmt, ...)                                      \
    __dlog_print(LOG_ID_MAIN, prio, tag,                                                    \
                 "%s: %s(%d) > " colour "[%s:%d] [Thread Id:[%d]] " fmt TETHER_COLOUR_RESET, \
                 ::Tether::BaseName(__FILE__), __func__, __LINE__, __func__, __LINE__,      \
                 ::Tether::CurrentThreadId(), ##__VA_ARGS__)

// Debug lines: entry, exit and received parameters.
#define LOG_D(fmt, ...) TETHER_LOG_FRAME(TETHER_LOG_TAG, DLOG_DEBUG, TETHER_COLOUR_YELLOW, fmt, ##__VA_ARGS__)
// Info lines: argument counts.
#define LOG_I(fmt, ...) TETHER_LOG_FRAME(TETHER_LOG_TAG, DLOG_INFO, TETHER_COLOUR_GREEN, fmt, ##__VA_ARGS__)
// Warning lines: failures, results and event traces.
#define LOG_W(fmt, ...) TETHER_LOG_FRAME(TETHER_LOG_TAG, DLOG_WARN, TETHER_COLOUR_RED, fmt, ##__VA_ARGS__)

#endif
