#include "Cinecast/BufferingSteps.h"

namespace DeviceAPI {
namespace Cinecast {

bool CBufferingSteps::Admit(int iPercent, long long llNowUs)
{
    bool bSend;
    if (m_iLast < 0 || iPercent < m_iLast || (m_iLast == 100 && iPercent < 100))
        bSend = true;
    else if (iPercent >= 100)
        bSend = m_iLast != 100;
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
