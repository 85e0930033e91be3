#include "GstBackend.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

CGstBackend::CGstBackend()
    : m_events(*this)
{
    m_worker.Call([this] {
        m_pPlayer.reset(new CGstPlayer(m_events, m_worker.Context()));
        return true;
    });
}

CGstBackend::~CGstBackend()
{
    m_worker.Call([this] {
        m_pPlayer.reset();
        return true;
    });
    // m_worker joins its thread as it is destroyed, before the handler
    // table goes.
}

bool CGstBackend::SetKiteBridge(bool bEnable)
{
    m_events.Enable(bEnable);
    return true;
}

bool CGstBackend::create()
{
    return OnPlayer([](CGstPlayer& player) { return player.Create(); });
}

bool CGstBackend::setUri(const std::string& strUri)
{
    return OnPlayer([&strUri](CGstPlayer& player) { return player.SetUri(strUri); });
}

bool CGstBackend::close()
{
    return OnPlayer([](CGstPlayer& player) { return player.Close(); });
}

bool CGstBackend::prepare()
{
    return OnPlayer([](CGstPlayer& player) { return player.Prepare(); });
}

bool CGstBackend::registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData*)
{
    return OnPlayer([](CGstPlayer& player) { return player.PrepareAsync(); });
}

bool CGstBackend::setStreamingProperty(const std::string& strType, const std::string& strParam)
{
    return OnPlayer([&](CGstPlayer& player) { return player.SetStreamingProperty(strType, strParam); });
}

bool CGstBackend::Pause()
{
    return OnPlayer([](CGstPlayer& player) { return player.Pause(); });
}

bool CGstBackend::play()
{
    return OnPlayer([](CGstPlayer& player) { return player.Play(); });
}

bool CGstBackend::Stop()
{
    return OnPlayer([](CGstPlayer& player) { return player.Stop(); });
}

bool CGstBackend::seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData*)
{
    return OnPlayer([lPosition](CGstPlayer& player) { return player.SeekTo(lPosition); });
}

bool CGstBackend::Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData*)
{
    return OnPlayer([iAmount](CGstPlayer& player) { return player.Skip(iAmount); });
}

bool CGstBackend::GetDuration(unsigned long* pulDuration)
{
    if (pulDuration == nullptr)
        return false;
    return OnPlayer([pulDuration](CGstPlayer& player) { return player.GetDuration(*pulDuration); });
}

bool CGstBackend::GetCurrentPosition(unsigned long long* pullPosition)
{
    if (pullPosition == nullptr)
        return false;
    return OnPlayer([pullPosition](CGstPlayer& player) { return player.GetPosition(*pullPosition); });
}

bool CGstBackend::GetPlayerState(player_state_e* peState)
{
    if (peState == nullptr)
        return false;
    return OnPlayer([peState](CGstPlayer& player) {
        *peState = player.State();
        return true;
    });
}

// Sound-analysis results go to the handler registered for them; there is no
// listener object to keep.
bool CGstBackend::registerSoundAnalysisListener(CinecastSoundAnalysisCallback*)
{
    return true;
}

bool CGstBackend::suspend()
{
    return OnPlayer([](CGstPlayer& player) { return player.Suspend(); });
}

bool CGstBackend::restore(const std::string& strUrl, long lTime, bool bPrepare)
{
    return OnPlayer([&strUrl, lTime, bPrepare](CGstPlayer& player) {
        return player.Restore(strUrl, lTime, bPrepare);
    });
}

bool CGstBackend::SetSoundAnalysis(bool bEnable)
{
    return OnPlayer([bEnable](CGstPlayer& player) { return player.SetSoundAnalysis(bEnable); });
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
