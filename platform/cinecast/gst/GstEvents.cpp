#include "GstEvents.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

CGstEvents::CGstEvents(CAdapterBackend& backend)
    : m_backend(backend)
{
}

void CGstEvents::Buffering(int iPercent)
{
    if (m_bEnabled.load())
        m_backend.FireBuffering(iPercent);
}

void CGstEvents::Completion(KiteBridgeCallBack eCode)
{
    if (m_bEnabled.load())
        m_backend.FireCompletion(eCode);
}

void CGstEvents::CurrentTime(unsigned long long ullMilliseconds)
{
    if (m_bEnabled.load())
        m_backend.FireCurrentTime(ullMilliseconds);
}

void CGstEvents::Error(int iCode, const std::string& strMessage, const std::string& strDebug)
{
    if (!m_bEnabled.load())
        return;
    KiteBridgeEvent event{iCode, strMessage, strDebug};
    m_backend.FireEvent(KITE_BRIDGE_ERROR_EVENT, &event);
}

void CGstEvents::AsmPause(int iType, const std::string& strSource, const std::string& strDetail)
{
    if (!m_bEnabled.load())
        return;
    KiteBridgeEvent event{iType, strSource, strDetail};
    m_backend.FireEvent(KITE_BRIDGE_ASM_PAUSE, &event);
}

void CGstEvents::AsmResume(int iType, const std::string& strSource, const std::string& strDetail)
{
    if (!m_bEnabled.load())
        return;
    KiteBridgeEvent event{iType, strSource, strDetail};
    m_backend.FireEvent(KITE_BRIDGE_ASM_RESUME, &event);
}

void CGstEvents::SoundAnalysis(const std::vector<int>& aBands)
{
    if (m_bEnabled.load())
        m_backend.FireSoundAnalysis(aBands.data(), static_cast<int>(aBands.size()));
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
