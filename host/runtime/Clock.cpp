#include "runtime/Clock.h"

namespace Kite {

namespace {

bool s_bVirtual = false;
gint64 s_llVirtualNowUs = 0;

gint64 WallStartUs()
{
    static const gint64 s_llStart = g_get_monotonic_time();
    return s_llStart;
}

}  // namespace

void UseVirtualTime()
{
    s_bVirtual = true;
}

bool IsVirtualTime()
{
    return s_bVirtual;
}

gint64 ClockNowUs()
{
    if (s_bVirtual)
        return s_llVirtualNowUs;
    return g_get_monotonic_time() - WallStartUs();
}

double VirtualDateMs()
{
    return VIRTUAL_EPOCH_MS + static_cast<double>(s_llVirtualNowUs) / 1000.0;
}

void SetVirtualNowUs(gint64 llUs)
{
    if (llUs > s_llVirtualNowUs)
        s_llVirtualNowUs = llUs;
}

}  // namespace Kite
