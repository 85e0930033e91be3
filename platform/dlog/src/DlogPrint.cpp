#include "dlog.h"

#include "LogState.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <new>
#include <string>

namespace {

bool FormatMessage(std::string& strOut, const char* fmt, va_list args)
{
    char szBuffer[512];
    va_list argsCopy;
    va_copy(argsCopy, args);
    int iLength = std::vsnprintf(szBuffer, sizeof szBuffer, fmt, argsCopy);
    va_end(argsCopy);
    if (iLength < 0)
        return false;
    if (static_cast<size_t>(iLength) < sizeof szBuffer) {
        strOut.assign(szBuffer, static_cast<size_t>(iLength));
        return true;
    }
    strOut.resize(static_cast<size_t>(iLength) + 1);
    std::vsnprintf(&strOut[0], strOut.size(), fmt, args);
    strOut.resize(static_cast<size_t>(iLength));
    return true;
}

// The heard line: formatted and published. Apart from the entry point, so
// that an unheard line saves and restores nothing that only this needs.
__attribute__((noinline)) int PrintLine(int prio, const char* tag, const char* fmt, va_list args)
{
    Dlog::CLogState& state = Dlog::CLogState::Instance();
    // A C entry point: nothing may escape as a C++ exception.
    try {
        Dlog::CLogLine line{prio, tag != nullptr, tag != nullptr ? tag : "", {}};
        if (!FormatMessage(line.m_strText, fmt, args))
            return -EINVAL;
        int iBytes = static_cast<int>(line.m_strText.size());
        return state.Publish(std::move(line)) ? iBytes : 0;
    } catch (const std::bad_alloc&) {
        return -ENOMEM;
    }
}

}  // namespace

extern "C" int __dlog_print(log_id_t log_id, int prio, const char* tag, const char* fmt, ...)
{
    if (fmt == nullptr || prio < DLOG_VERBOSE || prio > DLOG_FATAL ||
        static_cast<int>(log_id) < 0 || log_id >= LOG_ID_MAX)
        return -EINVAL;

    if (!Dlog::g_bListening.load(std::memory_order_acquire))
        return 0;
    va_list args;
    va_start(args, fmt);
    int iResult = PrintLine(prio, tag, fmt, args);
    va_end(args);
    return iResult;
}
