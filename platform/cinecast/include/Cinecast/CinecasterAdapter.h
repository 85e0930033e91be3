// The media player adapter: the player behind every script player object.
#ifndef CINECAST_CINECASTER_ADAPTER_H
#define CINECAST_CINECASTER_ADAPTER_H

#include <cstddef>
#include <new>
#include <string>

typedef enum {
    PLAYER_STATE_NONE = 0,     // created, no media
    PLAYER_STATE_IDLE = 1,     // media set, not prepared
    PLAYER_STATE_READY = 2,    // prepared, not started
    PLAYER_STATE_PLAYING = 3,
    PLAYER_STATE_PAUSED = 4
} player_state_e;

namespace DeviceAPI {
namespace Common {
class MultiCallbackUserData;
}  // namespace Common

namespace Cinecast {

class CinecastSoundAnalysisCallback;
class CAdapterBackend;

// Event codes under which handlers are registered.
enum KiteBridgeCallBack {
    KITE_BRIDGE_BUFFERING = 0,          // bool (*)(int percent, void* userData)
    KITE_BRIDGE_PREPARE_COMPLETE = 1,   // bool (*)(void* userData)
    KITE_BRIDGE_PLAY_COMPLETE = 2,      // bool (*)(void* userData)
    KITE_BRIDGE_SEEK_COMPLETE = 3,      // bool (*)(void* userData)
    KITE_BRIDGE_CURRENT_TIME = 4,       // bool (*)(unsigned long long time, void* userData)
    KITE_BRIDGE_ERROR_EVENT = 5,        // bool (*)(KiteBridgeEvent* event, void* userData)
    KITE_BRIDGE_ASM_PAUSE = 6,          // bool (*)(KiteBridgeEvent* event, void* userData)
    KITE_BRIDGE_ASM_RESUME = 7,         // bool (*)(KiteBridgeEvent* event, void* userData)
    KITE_BRIDGE_SOUND_ANALYSIS = 8,     // bool (*)(const int* bands, int count, void* userData)
    KITE_BRIDGE_CALLBACK_COUNT = 9
};

struct KiteBridgeEvent {
    int type;
    std::string param1;
    std::string param2;
};

typedef bool (*BufferingHandler)(int iPercent, void* pUserData);
typedef bool (*CompletionHandler)(void* pUserData);
typedef bool (*CurrentTimeHandler)(unsigned long long ullTime, void* pUserData);
typedef bool (*EventHandler)(KiteBridgeEvent* pEvent, void* pUserData);
typedef bool (*SoundAnalysisHandler)(const int* pBands, int iCount, void* pUserData);

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
