#include "SimEventFiring.h"

#include <chrono>
#include <climits>
#include <vector>

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

bool IsEventCode(KiteBridgeCallBack eCode)
{
    return eCode >= KITE_BRIDGE_BUFFERING && eCode < KITE_BRIDGE_CALLBACK_COUNT;
}

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

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
