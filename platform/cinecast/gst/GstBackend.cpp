#include "GstBackend.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

CGstBackend::CGstBackend()
    : m_events(*this)
    , m_player(m_events)
{
}

// m_player joins its thread as it is destroyed, before the handler table
// goes.
CGstBackend::~CGstBackend() = default;

bool CGstBackend::SetKiteBridge(bool bEnable)
{
    m_events.Enable(bEnable);
    return true;
}

bool CGstBackend::create()
{
    return m_player.Create();
}

bool CGstBackend::setUri(const std::string& strUri)
{
    return m_player.SetUri(strUri);
}

bool CGstBackend::close()
{
    return m_player.Close();
}

bool CGstBackend::prepare()
{
    return m_player.Prepare();
}

bool CGstBackend::registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData*)
{
    return m_player.PrepareAsync();
}

bool CGstBackend::setStreamingProperty(const std::string& strType, const std::string& strParam)
{
    return m_player.SetStreamingProperty(strType, strParam);
}

bool CGstBackend::Pause()
{
    return m_player.Pause();
}

bool CGstBackend::play()
{
    return m_player.Play();
}

bool CGstBackend::Stop()
{
    return m_player.Stop();
}

bool CGstBackend::seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData*)
{
    return m_player.SeekTo(lPosition);
}

bool CGstBackend::Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData*)
{
    return m_player.Skip(iAmount);
}

bool CGstBackend::GetDuration(unsigned long* pulDuration)
{
    if (pulDuration == nullptr)
        return false;
    return m_player.GetDuration(*pulDuration);
}

bool CGstBackend::GetCurrentPosition(unsigned long long* pullPosition)
{
    if (pullPosition == nullptr)
        return false;
    return m_player.GetPosition(*pullPosition);
}

bool CGstBackend::GetPlayerState(player_state_e* peState)
{
    if (peState == nullptr)
        return false;
    *peState = m_player.State();
    return true;
}

// Sound-analysis results go to the handler registered for them; there is no
// listener object to keep.
bool CGstBackend::registerSoundAnalysisListener(CinecastSoundAnalysisCallback*)
{
    return true;
}

bool CGstBackend::suspend()
{
    return m_player.Suspend();
}

bool CGstBackend::restore(const std::string& strUrl, long lTime, bool bPrepare)
{
    return m_player.Restore(strUrl, lTime, bPrepare);
}

bool CGstBackend::SetSoundAnalysis(bool bEnable)
{
    return m_player.SetSoundAnalysis(bEnable);
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
