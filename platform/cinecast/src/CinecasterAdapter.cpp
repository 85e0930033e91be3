// The adapter is a facade: every operation goes to the backend made for it.
#include "Cinecast/CinecasterAdapter.h"

#include "BackendFactory.h"
#include "Cinecast/AdapterBackend.h"

#include <atomic>

namespace DeviceAPI {
namespace Cinecast {

namespace {
std::atomic<bool> s_bDestroyedWhilePlaying{false};

// A player prepared or played after a stop plays again.
bool Started(CAdapterBackend* pBackend, bool bDone)
{
    if (bDone)
        pBackend->m_bStopped = false;
    return bDone;
}
}  // namespace

bool TakeDestroyedWhilePlaying()
{
    return s_bDestroyedWhilePlaying.exchange(false);
}

CinecasterAdapter::CinecasterAdapter()
    : m_pBackend(MakeBackend())
{
}

CinecasterAdapter::~CinecasterAdapter()
{
    if (m_pBackend && m_pBackend->m_bHasUrl && !m_pBackend->m_bStopped)
        s_bDestroyedWhilePlaying = true;
    // Returns once the backend's threads can call no handler any more.
    delete m_pBackend;
}

// Without a backend (its factory failed) every operation answers false.

bool CinecasterAdapter::SetKiteBridge(bool bEnable)
{
    return m_pBackend && m_pBackend->SetKiteBridge(bEnable);
}

bool CinecasterAdapter::RegisterKiteBridgeCallback(KiteBridgeCallBack eCode, void* pHandler, void* pUserData)
{
    if (!m_pBackend || !m_pBackend->RegisterHandler(eCode, pHandler, pUserData))
        return false;
    m_pBackend->OnHandlerRegistered(eCode);
    return true;
}

bool CinecasterAdapter::create()
{
    return m_pBackend && m_pBackend->create();
}

bool CinecasterAdapter::setUri(std::string strUri)
{
    if (!m_pBackend || !m_pBackend->setUri(strUri))
        return false;
    m_pBackend->m_bHasUrl = !strUri.empty();
    m_pBackend->m_bStopped = false;
    return true;
}

bool CinecasterAdapter::close()
{
    if (!m_pBackend)
        return false;
    m_pBackend->m_bHasUrl = false;
    return m_pBackend->close();
}

bool CinecasterAdapter::prepare()
{
    return m_pBackend && Started(m_pBackend, m_pBackend->prepare());
}

bool CinecasterAdapter::registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    return m_pBackend && m_pBackend->registerPrepareListener(pUserData);
}

bool CinecasterAdapter::setStreamingProperty(std::string strType, std::string strParam)
{
    return m_pBackend && m_pBackend->setStreamingProperty(strType, strParam);
}

bool CinecasterAdapter::Pause()
{
    return m_pBackend && m_pBackend->Pause();
}

bool CinecasterAdapter::play()
{
    return m_pBackend && Started(m_pBackend, m_pBackend->play());
}

bool CinecasterAdapter::Stop()
{
    if (!m_pBackend)
        return false;
    // Refused or not, the player is not playing after it.
    m_pBackend->m_bStopped = true;
    return m_pBackend->Stop();
}

bool CinecasterAdapter::seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    return m_pBackend && m_pBackend->seekTo(lPosition, pUserData);
}

bool CinecasterAdapter::Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData* pUserData)
{
    return m_pBackend && m_pBackend->Skip(iAmount, pUserData);
}

bool CinecasterAdapter::GetDuration(unsigned long* pulDuration)
{
    return m_pBackend && m_pBackend->GetDuration(pulDuration);
}

bool CinecasterAdapter::GetCurrentPosition(unsigned long long* pullPosition)
{
    return m_pBackend && m_pBackend->GetCurrentPosition(pullPosition);
}

bool CinecasterAdapter::GetPlayerState(player_state_e* peState)
{
    return m_pBackend && m_pBackend->GetPlayerState(peState);
}

bool CinecasterAdapter::registerSoundAnalysisListener(CinecastSoundAnalysisCallback* pListener)
{
    return m_pBackend && m_pBackend->registerSoundAnalysisListener(pListener);
}

bool CinecasterAdapter::suspend()
{
    return m_pBackend && m_pBackend->suspend();
}

bool CinecasterAdapter::restore(std::string strUrl, long lTime, bool bPrepare)
{
    if (!m_pBackend || !m_pBackend->restore(strUrl, lTime, bPrepare))
        return false;
    m_pBackend->m_bHasUrl = m_pBackend->m_bHasUrl || !strUrl.empty();
    m_pBackend->m_bStopped = false;
    return true;
}

bool CinecasterAdapter::SetSoundAnalysis(bool bEnable)
{
    return m_pBackend && m_pBackend->SetSoundAnalysis(bEnable);
}

}  // namespace Cinecast
}  // namespace DeviceAPI
