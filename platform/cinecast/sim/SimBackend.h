// The simulated player behind one adapter.
#ifndef CINECAST_SIM_BACKEND_H
#define CINECAST_SIM_BACKEND_H

#include <memory>
#include <string>

#include "Cinecast/AdapterBackend.h"
#include "EventQueue.h"
#include "PlayerRecord.h"
#include "PlayerRegistry.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

class CSimBackend : public CAdapterBackend {
public:
    explicit CSimBackend(CPlayerRegistry& registry);
    ~CSimBackend() override;

    bool SetKiteBridge(bool bEnable) override;
    void OnHandlerRegistered(KiteBridgeCallBack eCode) override;
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

private:
    std::shared_ptr<CPlayerRecord> m_pRecord;
    std::shared_ptr<CEventQueue> m_pEvents;
};

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
