#include "Cinecast/AcceptingBackend.h"

namespace DeviceAPI {
namespace Cinecast {

bool CAcceptingBackend::SetKiteBridge(bool) { return true; }
bool CAcceptingBackend::create() { return true; }
bool CAcceptingBackend::setUri(const std::string&) { return true; }
bool CAcceptingBackend::close() { return true; }
bool CAcceptingBackend::prepare() { return true; }
bool CAcceptingBackend::registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData*) { return true; }
bool CAcceptingBackend::setStreamingProperty(const std::string&, const std::string&) { return true; }
bool CAcceptingBackend::Pause() { return true; }
bool CAcceptingBackend::play() { return true; }
bool CAcceptingBackend::Stop() { return true; }
bool CAcceptingBackend::seekTo(long, DeviceAPI::Common::MultiCallbackUserData*) { return true; }
bool CAcceptingBackend::Skip(int, DeviceAPI::Common::MultiCallbackUserData*) { return true; }

bool CAcceptingBackend::GetDuration(unsigned long* pulDuration)
{
    *pulDuration = 180000;
    return true;
}

bool CAcceptingBackend::GetCurrentPosition(unsigned long long* pullPosition)
{
    *pullPosition = 0;
    return true;
}

bool CAcceptingBackend::GetPlayerState(player_state_e* peState)
{
    *peState = PLAYER_STATE_IDLE;
    return true;
}

bool CAcceptingBackend::registerSoundAnalysisListener(CinecastSoundAnalysisCallback*) { return true; }
bool CAcceptingBackend::suspend() { return true; }
bool CAcceptingBackend::restore(const std::string&, long, bool) { return true; }
bool CAcceptingBackend::SetSoundAnalysis(bool) { return true; }

}  // namespace Cinecast
}  // namespace DeviceAPI
