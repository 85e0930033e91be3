#include "runtime/Clock.h"

namespace Kite {

CClock::CClock() : m_llWallStartUs(g_get_monotonic_time()) {}

gint64 CClock::NowUs() const
{
    if (m_bVirtual)
        return m_llVirtualNowUs;
    return g_get_monotonic_time() - m_llWallStartUs;
}

double CClock::VirtualDateMs() const
{
    return VIRTUAL_EPOCH_MS + static_cast<double>(m_llVirtualNowUs) / 1000.0;
}

void CClock::SetVirtualNowUs(gint64 llUs)
{
    if (llUs > m_llVirtualNowUs)
        m_llVirtualNowUs = llUs;
}

}  // namespace Kite
