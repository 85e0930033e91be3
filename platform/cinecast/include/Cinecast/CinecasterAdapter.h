// The media player adapter: the player behind every script player object.
#ifndef CINECAST_CINECASTER_ADAPTER_H
#define CINECAST_CINECASTER_ADAPTER_H

#include <cstddef>
#include <new>
#include <string>

#include "Cinecast/AdapterTypes.h"

namespace DeviceAPI {
namespace Cinecast {

class CAdapterBackend;

// Handlers are called on the adapter's own threads, never after the
// destructor has returned. Which player stands behind the adapter is chosen
// by the host (see AdapterBackend.h).
class CinecasterAdapter {
public:
    CinecasterAdapter();
    ~CinecasterAdapter();

    // The host can make the non-throwing form fail, to exercise callers.
    static void* operator new(std::size_t size);
    static void* operator new(std::size_t size, const std::nothrow_t&) noexcept;
    static void operator delete(void* p) noexcept;
    static void operator delete(void* p, const std::nothrow_t&) noexcept;

    bool SetKiteBridge(bool bEnable);
    bool RegisterKiteBridgeCallback(KiteBridgeCallBack eCode, void* pHandler, void* pUserData);

    bool create();
    bool setUri(std::string strUri);
    bool close();
    bool prepare();
    bool registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData* pUserData);
    bool setStreamingProperty(std::string strType, std::string strParam);
    bool Pause();
    bool play();
    bool Stop();
    bool seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData* pUserData);
    bool Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData* pUserData);
    bool GetDuration(unsigned long* pulDuration);
    bool GetCurrentPosition(unsigned long long* pullPosition);
    bool GetPlayerState(player_state_e* peState);
    bool registerSoundAnalysisListener(CinecastSoundAnalysisCallback* pListener);
    bool suspend();
    bool restore(std::string strUrl, long lTime, bool bPrepare);
    bool SetSoundAnalysis(bool bEnable);

private:
    CinecasterAdapter(const CinecasterAdapter&) = delete;
    CinecasterAdapter& operator=(const CinecasterAdapter&) = delete;

    CAdapterBackend* m_pBackend;
};

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
