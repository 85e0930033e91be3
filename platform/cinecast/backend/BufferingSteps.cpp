#include "BufferingSteps.h"

namespace DeviceAPI {
namespace Cinecast {

bool CBufferingSteps::Admit(int iPercent, long long llNowUs)
{
    bool bSend;
    if (m_iLast < 0 || m_iLast == 100)
        bSend = m_iLast < 0 || iPercent < 100;
    else if (iPercent >= 100)
        bSend = true;
    else if (iPercent <= m_iLast)
        bSend = false;
    else
        bSend = iPercent - m_iLast >= STEP_PERCENT && llNowUs - m_llLastUs >= STEP_US;
    if (bSend) {
        m_iLast = iPercent;
        m_llLastUs = llNowUs;
    }
    return bSend;
}

}  // namespace Cinecast
}  // namespace DeviceAPI
