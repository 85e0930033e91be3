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
    bool SetKiteBridge(bool bEnable) override;
    bool create() override;
    bool setUri(const std::string& strUri) override;
    bool close() override;
    bool prepare() override;
    bool registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData* pUserData) override;
    bool setStreamingProperty(const std::string& strType, const std::string& strParam) override;
    bool Pause() override;
    bool play() override;
    bool Stop() override;
    bool seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData* pUserData) override;
    bool Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData* pUserData) override;
    bool GetDuration(unsigned long* pulDuration) override;
    bool GetCurrentPosition(unsigned long long* pullPosition) override;
    bool GetPlayerState(player_state_e* peState) override;
    bool registerSoundAnalysisListener(CinecastSoundAnalysisCallback* pListener) override;
    bool suspend() override;
    bool restore(const std::string& strUrl, long lTime, bool bPrepare) override;
    bool SetSoundAnalysis(bool bEnable) override;
};

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
