// The player behind CinecasterAdapter. The host chooses one implementation
// for the whole process; the adapter forwards every operation to it.
#ifndef CINECAST_ADAPTER_BACKEND_H
#define CINECAST_ADAPTER_BACKEND_H

#include <atomic>
#include <functional>
#include <mutex>
#include <string>

#include "Cinecast/AdapterTypes.h"

namespace DeviceAPI {
namespace Cinecast {

class CAdapterBackend {
public:
    CAdapterBackend();
    // A backend's destructor returns only when none of its threads can call
    // a handler any more.
    virtual ~CAdapterBackend();

    virtual bool SetKiteBridge(bool bEnable) = 0;
    // Called after the handler table has been updated.
    virtual void OnHandlerRegistered(KiteBridgeCallBack eCode) { (void)eCode; }
    virtual bool create() = 0;
    virtual bool setUri(const std::string& strUri) = 0;
    virtual bool close() = 0;
    virtual bool prepare() = 0;
    virtual bool registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData* pUserData) = 0;
    virtual bool setStreamingProperty(const std::string& strType, const std::string& strParam) = 0;
    virtual bool Pause() = 0;
    virtual bool play() = 0;
    virtual bool Stop() = 0;
    virtual bool seekTo(long lPosition, DeviceAPI::Common::MultiCallbackUserData* pUserData) = 0;
    virtual bool Skip(int iAmount, DeviceAPI::Common::MultiCallbackUserData* pUserData) = 0;
    virtual bool GetDuration(unsigned long* pulDuration) = 0;
    virtual bool GetCurrentPosition(unsigned long long* pullPosition) = 0;
    virtual bool GetPlayerState(player_state_e* peState) = 0;
    virtual bool registerSoundAnalysisListener(CinecastSoundAnalysisCallback* pListener) = 0;
    virtual bool suspend() = 0;
    virtual bool restore(const std::string& strUrl, long lTime, bool bPrepare) = 0;
    virtual bool SetSoundAnalysis(bool bEnable) = 0;

    // Whether the player has had a URL and was not stopped or closed since,
    // as the adapter's calls tell it; kept by CinecasterAdapter.
    bool m_bHasUrl = false;
    bool m_bStopped = false;

    // The handler table, filled through CinecasterAdapter.
    bool RegisterHandler(KiteBridgeCallBack eCode, void* pHandler, void* pUserData);
    bool HasHandler(KiteBridgeCallBack eCode) const;

    // Call the handler registered under the event's code from the calling
    // thread; false when none is registered. bNullUserData passes a null user
    // data instead of the registered one.
    bool FireBuffering(int iPercent, bool bNullUserData = false);
    bool FireCompletion(KiteBridgeCallBack eCode, bool bNullUserData = false);
    bool FireCurrentTime(unsigned long long ullTime, bool bNullUserData = false);
    bool FireEvent(KiteBridgeCallBack eCode, KiteBridgeEvent* pEvent, bool bNullUserData = false);
    bool FireSoundAnalysis(const int* pBands, int iCount, bool bNullUserData = false);

private:
    struct CHandler {
        void* m_pFunction = nullptr;
        void* m_pUserData = nullptr;
    };
    CHandler handlerFor(KiteBridgeCallBack eCode) const;

    // Read on every event from the player's threads, written a handful of
    // times: readers take no lock, and retry a read that overlapped a
    // registration (m_uVersion is odd while one writes).
    struct CHandlerSlot {
        std::atomic<void*> m_pFunction{nullptr};
        std::atomic<void*> m_pUserData{nullptr};
    };
    std::mutex m_registrationLock;
    std::atomic<unsigned> m_uVersion{0};
    CHandlerSlot m_aHandlers[KITE_BRIDGE_CALLBACK_COUNT];
};

// Makes the backend of every adapter constructed from now on, null when it
// cannot; what it holds (the run's clock, say) is what the run hands to the
// backends it makes. Without a factory, adapters use the simulated player,
// each numbered on its own (Sim::CPlayers numbers a host's).
typedef std::function<CAdapterBackend*()> BackendFactory;
void SetBackendFactory(BackendFactory factory);

// The next non-throwing allocation of an adapter yields null.
void FailNextAllocation();

// Whether an adapter whose player had a URL and was not stopped or closed has
// been destroyed since the last call: a host asks after each destruction of a
// script object, to tell a player going with its object from one left alone.
bool TakeDestroyedWhilePlaying();

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
