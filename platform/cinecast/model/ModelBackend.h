// The backend of one model adapter: the model player, with its calls
// recorded and its number given as the simulated players' are, so that
// sim.calls and sim.emit reach it too.
#ifndef CINECAST_MODEL_BACKEND_H
#define CINECAST_MODEL_BACKEND_H

#include <memory>
#include <string>

#include "Cinecast/AdapterBackend.h"
#include "Cinecast/ModelAdapter.h"
#include "EventQueue.h"
#include "ModelPlayer.h"
#include "PlayerRecord.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

class CModelBackend : public CAdapterBackend {
public:
    CModelBackend(CModelClock& clock, CMediaCatalogue& media, CPlayerRegistry& registry);
    ~CModelBackend() override;

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
    // Records the call as the simulated player does.
    void Record(const char* szName, std::initializer_list<std::string> aArgs = {});

    std::shared_ptr<CPlayerRecord> m_pRecord;
    std::shared_ptr<CEventQueue> m_pEvents;  // what sim.emit forces
    CModelPlayer m_player;
};

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
