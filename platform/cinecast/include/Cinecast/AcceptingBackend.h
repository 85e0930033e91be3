// A player that accepts every operation at once and does nothing: a base for
// players that only measure or drive the plug-in (benchmarks, soaks).
// Queries answer a three-minute medium at position 0, idle.
#ifndef CINECAST_ACCEPTING_BACKEND_H
#define CINECAST_ACCEPTING_BACKEND_H

#include "Cinecast/AdapterBackend.h"

namespace DeviceAPI {
namespace Cinecast {

class CAcceptingBackend : public CAdapterBackend {
public:
    bool SetKiteBridge(bool) override { return true; }
    bool create() override { return true; }
    bool setUri(const std::string&) override { return true; }
    bool close() override { return true; }
    bool prepare() override { return true; }
    bool registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData*) override { return true; }
    bool setStreamingProperty(const std::string&, const std::string&) override { return true; }
    bool Pause() override { return true; }
    bool play() override { return true; }
    bool Stop() override { return true; }
    bool seekTo(long, DeviceAPI::Common::MultiCallbackUserData*) override { return true; }
    bool Skip(int, DeviceAPI::Common::MultiCallbackUserData*) override { return true; }
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

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
