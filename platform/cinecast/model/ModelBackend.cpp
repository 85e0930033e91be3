#include "ModelBackend.h"

#include "CallFormat.h"
#include "PlayerRegistry.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

CAdapterBackend* CreateBackend(CModelClock& clock, CMediaCatalogue& media, CPlayerRegistry& registry)
{
    return new CModelBackend(clock, media, registry);
}

CModelBackend::CModelBackend(CModelClock& clock, CMediaCatalogue& media, CPlayerRegistry& registry)
    : m_pRecord(std::make_shared<CPlayerRecord>())
    , m_pEvents(CEventQueue::Create())
    , m_player(*this, clock, media)
{
    m_pRecord->Attach(CPlayerRecord::CLive{this, m_pEvents});
    registry.Add(m_pRecord);
}

CModelBackend::~CModelBackend()
{
    // As the simulated player: no forced event once detached and stopped.
    m_pRecord->Detach();
    m_pEvents->Stop();
}

void CModelBackend::Record(const char* szName, std::initializer_list<std::string> aArgs)
{
    m_pRecord->Record(szName, CallText(szName, aArgs));
}

bool CModelBackend::SetKiteBridge(bool bEnable)
{
    Record("SetKiteBridge", {FormatBool(bEnable)});
    m_player.EnableEvents(bEnable);
    return true;
}

void CModelBackend::OnHandlerRegistered(KiteBridgeCallBack eCode)
{
    Record("RegisterKiteBridgeCallback", {FormatInteger(eCode)});
}

bool CModelBackend::create()
{
    Record("create");
    return m_player.Create();
}

bool CModelBackend::setUri(const std::string& strUri)
{
    Record("setUri", {FormatString(strUri)});
    return m_player.SetUri(strUri);
}

bool CModelBackend::close()
{
    Record("close");
    return m_player.Close();
}

bool CModelBackend::prepare()
{
    Record("prepare");
    return m_player.Prepare();
}

bool CModelBackend::registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    Record("registerPrepareListener", {FormatPointer(pUserData)});
    return m_player.PrepareAsync();
}

bool CModelBackend::setStreamingProperty(const std::string& strType, const std::string& strParam)
{
    Record("setStreamingProperty", {FormatString(strType), FormatString(strParam)});
    return m_player.SetStreamingProperty(strType, strParam);
}

bool CModelBackend::Pause()
{
    Record("Pause");
    return m_player.Pause();
}

bool CModelBackend::play()
{
    Record("play");
    return m_player.Play();
}

bool CModelBackend::Stop()
{
    Record("Stop");
    return m_player.Stop();
}

bool CModelBackend::seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    Record("seekTo", {FormatInteger(lPosition), FormatPointer(pUserData)});
    return m_player.SeekTo(lPosition);
}

bool CModelBackend::Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    Record("Skip", {FormatInteger(iAmount), FormatPointer(pUserData)});
    return m_player.Skip(iAmount);
}

bool CModelBackend::GetDuration(unsigned long* pulDuration)
{
    Record("GetDuration");
    return pulDuration != nullptr && m_player.GetDuration(*pulDuration);
}

bool CModelBackend::GetCurrentPosition(unsigned long long* pullPosition)
{
    Record("GetCurrentPosition");
    return pullPosition != nullptr && m_player.GetPosition(*pullPosition);
}

bool CModelBackend::GetPlayerState(player_state_e* peState)
{
    Record("GetPlayerState");
    if (peState == nullptr)
        return false;
    *peState = m_player.State();
    return true;
}

// Sound-analysis results go to the handler registered for them.
bool CModelBackend::registerSoundAnalysisListener(CinecastSoundAnalysisCallback* pListener)
{
    Record("registerSoundAnalysisListener", {FormatPointer(pListener)});
    return true;
}

bool CModelBackend::suspend()
{
    Record("suspend");
    return m_player.Suspend();
}

bool CModelBackend::restore(const std::string& strUrl, long lTime, bool bPrepare)
{
    Record("restore", {FormatString(strUrl), FormatInteger(lTime), FormatBool(bPrepare)});
    return m_player.Restore(strUrl, lTime, bPrepare);
}

bool CModelBackend::SetSoundAnalysis(bool bEnable)
{
    Record("SetSoundAnalysis", {FormatBool(bEnable)});
    return m_player.SetSoundAnalysis(bEnable);
}

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI
