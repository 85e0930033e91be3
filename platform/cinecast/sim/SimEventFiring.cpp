// Events forced on simulated and model adapters: CPlayers::emit, emitBurst
// and drain of Cinecast/SimAdapter.h.
#include <chrono>
#include <climits>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "Cinecast/SimAdapter.h"
#include "PlayerRegistry.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

namespace {

// Calls the handler registered under eCode on the calling thread; false when
// none is registered.
bool FireEventData(CAdapterBackend& backend, KiteBridgeCallBack eCode, const CEventData& data)
{
    const bool bNullUserData = data.m_bNullUserData;
    switch (eCode) {
    case KITE_BRIDGE_BUFFERING:
        return backend.FireBuffering(data.m_iPercent, bNullUserData);
    case KITE_BRIDGE_PREPARE_COMPLETE:
    case KITE_BRIDGE_PLAY_COMPLETE:
    case KITE_BRIDGE_SEEK_COMPLETE:
        return backend.FireCompletion(eCode, bNullUserData);
    case KITE_BRIDGE_CURRENT_TIME: {
        unsigned long long ullTime = data.m_ullTime;
        if (data.m_bClockTime)
            ullTime = static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                std::chrono::steady_clock::now().time_since_epoch()).count());
        return backend.FireCurrentTime(ullTime, bNullUserData);
    }
    case KITE_BRIDGE_ERROR_EVENT:
    case KITE_BRIDGE_ASM_PAUSE:
    case KITE_BRIDGE_ASM_RESUME: {
        // A copy of its own for each call: the handler may keep nothing.
        KiteBridgeEvent stEvent = data.m_stEvent;
        return backend.FireEvent(eCode, data.m_bNullEvent ? nullptr : &stEvent, bNullUserData);
    }
    case KITE_BRIDGE_SOUND_ANALYSIS: {
        if (data.m_bNullBands)
            return backend.FireSoundAnalysis(nullptr, 0, bNullUserData);
        // An empty set still comes with a valid pointer: only "null bands"
        // means null.
        std::vector<int> aBands = data.m_aBands;
        int iNone = 0;
        const int* pBands = aBands.empty() ? &iNone : aBands.data();
        int iCount = aBands.size() > INT_MAX ? INT_MAX : static_cast<int>(aBands.size());
        return backend.FireSoundAnalysis(pBands, iCount, bNullUserData);
    }
    default:
        return false;
    }
}

void requireEventCode(KiteBridgeCallBack eCode)
{
    if (eCode < KITE_BRIDGE_BUFFERING || eCode >= KITE_BRIDGE_CALLBACK_COUNT)
        throw std::invalid_argument("no event code " + std::to_string(static_cast<int>(eCode)) +
                                    " (codes are 0 to 8)");
}

}  // namespace

bool CPlayers::emit(std::size_t i, KiteBridgeCallBack eCode, const CEventData& data) const
{
    requireEventCode(eCode);
    CPlayerRecord::CLive live = m_pRegistry->At(i)->Live();
    if (!live.m_pBackend)
        return false;
    // A handler emitting on its own adapter would wait for itself.
    if (live.m_pEvents->IsOwnThread())
        return FireEventData(*live.m_pBackend, eCode, data);
    // The backend outlives every task its queue runs (its destructor stops
    // the queue), so a task posted after it began to go is simply dropped.
    CAdapterBackend* pBackend = live.m_pBackend;
    std::future<bool> result = live.m_pEvents->Post(
        [pBackend, eCode, data](const std::atomic<bool>&) { return FireEventData(*pBackend, eCode, data); });
    return result.get();
}

bool CPlayers::emitBurst(std::size_t i, KiteBridgeCallBack eCode, std::size_t uCount, const CEventData& data,
                         unsigned uIntervalMicros) const
{
    requireEventCode(eCode);
    CPlayerRecord::CLive live = m_pRegistry->At(i)->Live();
    if (!live.m_pBackend)
        return false;
    CAdapterBackend* pBackend = live.m_pBackend;
    live.m_pEvents->Post([pBackend, eCode, uCount, data, uIntervalMicros](const std::atomic<bool>& bStopping) {
        const std::chrono::microseconds interval(uIntervalMicros);
        std::chrono::steady_clock::time_point next = std::chrono::steady_clock::now();
        for (std::size_t n = 0; n < uCount && !bStopping; ++n) {
            if (uIntervalMicros != 0) {
                // Deadlines from the start, so a late wake-up does not slow the pace.
                std::this_thread::sleep_until(next);
                next += interval;
            }
            FireEventData(*pBackend, eCode, data);
        }
        return true;
    });
    return true;
}

void CPlayers::drain(std::size_t i) const
{
    CPlayerRecord::CLive live = m_pRegistry->At(i)->Live();
    // From its own thread the queue could never become idle.
    if (live.m_pEvents && !live.m_pEvents->IsOwnThread())
        live.m_pEvents->Drain();
}

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
