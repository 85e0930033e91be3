#include "SimBackend.h"

#include <cstring>

#include "CallFormat.h"
#include "PlayerRegistry.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

CSimBackend::CSimBackend(CPlayerRegistry& registry)
    : m_pRecord(std::make_shared<CPlayerRecord>())
    , m_pEvents(CEventQueue::Create())
{
    m_pRecord->Attach(CPlayerRecord::CLive{this, m_pEvents});
    registry.Add(m_pRecord);
}

CSimBackend::~CSimBackend()
{
    // No new event can reach the queue once detached; stopping it waits for
    // a handler still running.
    m_pRecord->Detach();
    m_pEvents->Stop();
}

bool CSimBackend::SetKiteBridge(bool bEnable)
{
    return m_pRecord->Record("SetKiteBridge", CallText("SetKiteBridge", {FormatBool(bEnable)}));
}

void CSimBackend::OnHandlerRegistered(KiteBridgeCallBack eCode)
{
    m_pRecord->Record("RegisterKiteBridgeCallback",
                      CallText("RegisterKiteBridgeCallback", {FormatInteger(eCode)}));
}

bool CSimBackend::create()
{
    return m_pRecord->Record("create", CallText("create"));
}

bool CSimBackend::setUri(const std::string& strUri)
{
    return m_pRecord->Record("setUri", CallText("setUri", {FormatString(strUri)}));
}

bool CSimBackend::close()
{
    return m_pRecord->Record("close", CallText("close"));
}

bool CSimBackend::prepare()
{
    return m_pRecord->Record("prepare", CallText("prepare"));
}

bool CSimBackend::registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    return m_pRecord->Record("registerPrepareListener",
                             CallText("registerPrepareListener", {FormatPointer(pUserData)}));
}

bool CSimBackend::setStreamingProperty(const std::string& strType, const std::string& strParam)
{
    return m_pRecord->Record("setStreamingProperty",
                             CallText("setStreamingProperty", {FormatString(strType), FormatString(strParam)}));
}

bool CSimBackend::Pause()
{
    return m_pRecord->Record("Pause", CallText("Pause"));
}

bool CSimBackend::play()
{
    return m_pRecord->Record("play", CallText("play"));
}

bool CSimBackend::Stop()
{
    return m_pRecord->Record("Stop", CallText("Stop"));
}

bool CSimBackend::seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    return m_pRecord->Record("seekTo", CallText("seekTo", {FormatInteger(lPosition), FormatPointer(pUserData)}));
}

bool CSimBackend::Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    return m_pRecord->Record("Skip", CallText("Skip", {FormatInteger(iAmount), FormatPointer(pUserData)}));
}

bool CSimBackend::GetDuration(unsigned long* pulDuration)
{
    bool bAnswer = m_pRecord->Record("GetDuration", CallText("GetDuration"));
    if (bAnswer && pulDuration)
        *pulDuration = m_pRecord->Duration();
    return bAnswer;
}

bool CSimBackend::GetCurrentPosition(unsigned long long* pullPosition)
{
    bool bAnswer = m_pRecord->Record("GetCurrentPosition", CallText("GetCurrentPosition"));
    if (bAnswer && pullPosition)
        *pullPosition = m_pRecord->Position();
    return bAnswer;
}

bool CSimBackend::GetPlayerState(player_state_e* peState)
{
    static_assert(sizeof(player_state_e) == sizeof(int), "the state is written as an int");
    bool bAnswer = m_pRecord->Record("GetPlayerState", CallText("GetPlayerState"));
    if (bAnswer && peState) {
        // Copied as bytes: the reported state may lie outside the enumeration.
        int iState = m_pRecord->State();
        std::memcpy(static_cast<void*>(peState), &iState, sizeof iState);
    }
    return bAnswer;
}

bool CSimBackend::registerSoundAnalysisListener(CinecastSoundAnalysisCallback* pListener)
{
    return m_pRecord->Record("registerSoundAnalysisListener",
                             CallText("registerSoundAnalysisListener", {FormatPointer(pListener)}));
}

bool CSimBackend::suspend()
{
    return m_pRecord->Record("suspend", CallText("suspend"));
}

bool CSimBackend::restore(const std::string& strUrl, long lTime, bool bPrepare)
{
    return m_pRecord->Record("restore",
                             CallText("restore", {FormatString(strUrl), FormatInteger(lTime), FormatBool(bPrepare)}));
}

bool CSimBackend::SetSoundAnalysis(bool bEnable)
{
    return m_pRecord->Record("SetSoundAnalysis", CallText("SetSoundAnalysis", {FormatBool(bEnable)}));
}

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
