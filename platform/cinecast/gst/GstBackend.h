// The backend of a GStreamer adapter: the player answers every operation at
// once and carries it out on its own thread.
#ifndef CINECAST_GST_BACKEND_H
#define CINECAST_GST_BACKEND_H

#include <string>

#include "Cinecast/AdapterBackend.h"
#include "GstEvents.h"
#include "GstPlayer.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

class CGstBackend : public CAdapterBackend {
public:
    CGstBackend();
    // Stops the pipeline and joins the thread: no handler is called after.
    ~CGstBackend() override;

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

private:
    CGstEvents m_events;
    CGstPlayer m_player;  // after m_events, which it sends through
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
