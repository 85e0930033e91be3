#include "QuietPlayer.h"

#include <Cinecast/AdapterBackend.h>

namespace TetherBench {

namespace {

using DeviceAPI::Cinecast::CAdapterBackend;
using DeviceAPI::Cinecast::CinecastSoundAnalysisCallback;
using DeviceAPI::Common::MultiCallbackUserData;

class CQuietPlayer : public CAdapterBackend {
public:
    bool SetKiteBridge(bool) override { return true; }
    bool create() override { return true; }
    bool setUri(const std::string&) override { return true; }
    bool close() override { return true; }
    bool prepare() override { return true; }
    bool registerPrepareListener(MultiCallbackUserData*) override { return true; }
    bool setStreamingProperty(const std::string&, const std::string&) override { return true; }
    bool Pause() override { return true; }
    bool play() override { return true; }
    bool Stop() override { return true; }
    bool seekTo(long, MultiCallbackUserData*) override { return true; }
    bool Skip(int, MultiCallbackUserData*) override { return true; }
    bool GetDuration(unsigned long* pulDuration) override
    {
        *pulDuration = 180000;
        return true;
    }
    bool GetCurrentPosition(unsigned long long* pullPosition) override
    {
        *pullPosition = 0;
        return true;
    }
    bool GetPlayerState(player_state_e* peState) override
    {
        *peState = PLAYER_STATE_IDLE;
        return true;
    }
    bool registerSoundAnalysisListener(CinecastSoundAnalysisCallback*) override { return true; }
    bool suspend() override { return true; }
    bool restore(const std::string&, long, bool) override { return true; }
    bool SetSoundAnalysis(bool) override { return true; }
};

CAdapterBackend* MakeQuietPlayer()
{
    return new CQuietPlayer();
}

}  // namespace

CQuietPlayerScope::CQuietPlayerScope()
{
    DeviceAPI::Cinecast::SetBackendFactory(MakeQuietPlayer);
}

CQuietPlayerScope::~CQuietPlayerScope()
{
    DeviceAPI::Cinecast::SetBackendFactory(nullptr);
}

}  // namespace TetherBench
