// The C++ face of the simulation, used by tests and by the `sim` script global.
#include "Cinecast/SimAdapter.h"

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "SimBackend.h"
#include "SimEventFiring.h"
#include "SimRegistry.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

namespace {

const char* const g_aszAnswerable[] = {
    "SetKiteBridge", "create", "setUri", "close", "prepare", "registerPrepareListener",
    "setStreamingProperty", "Pause", "play", "Stop", "seekTo", "Skip", "GetDuration",
    "GetCurrentPosition", "GetPlayerState", "registerSoundAnalysisListener", "suspend",
    "restore", "SetSoundAnalysis",
};

void requireEventCode(KiteBridgeCallBack eCode)
{
    if (!IsEventCode(eCode))
        throw std::invalid_argument("no event code " + std::to_string(static_cast<int>(eCode)) +
                                    " (codes are 0 to 8)");
}

}  // namespace

CAdapterBackend* CreateBackend()
{
    return new CSimBackend();
}

std::size_t count()
{
    return CSimRegistry::Instance().Count();
}

std::size_t alive()
{
    return CSimRegistry::Instance().Alive();
}

bool isAlive(std::size_t i)
{
    return CSimRegistry::Instance().At(i)->IsAlive();
}

std::vector<std::string> calls(std::size_t i)
{
    return CSimRegistry::Instance().At(i)->Calls();
}

bool isAnswerableOperation(const std::string& strName)
{
    return std::find(std::begin(g_aszAnswerable), std::end(g_aszAnswerable), strName) !=
           std::end(g_aszAnswerable);
}

void answer(std::size_t i, const std::string& strName, bool bValue)
{
    std::shared_ptr<CSimRecord> pRecord = CSimRegistry::Instance().At(i);
    if (strName == "RegisterKiteBridgeCallback")
        throw std::invalid_argument("RegisterKiteBridgeCallback is answered by the handler table");
    if (!isAnswerableOperation(strName))
        throw std::invalid_argument("no adapter operation named '" + strName + "'");
    pRecord->SetAnswer(strName, bValue);
}

void report(std::size_t i, const CReport& stReport)
{
    CSimRegistry::Instance().At(i)->SetReport(stReport);
}

bool emit(std::size_t i, KiteBridgeCallBack eCode, const CEventData& data)
{
    requireEventCode(eCode);
    CSimRecord::CLive live = CSimRegistry::Instance().At(i)->Live();
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

bool emitBurst(std::size_t i, KiteBridgeCallBack eCode, std::size_t uCount, const CEventData& data,
               unsigned uIntervalMicros)
{
    requireEventCode(eCode);
    CSimRecord::CLive live = CSimRegistry::Instance().At(i)->Live();
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

void drain(std::size_t i)
{
    CSimRecord::CLive live = CSimRegistry::Instance().At(i)->Live();
    // From its own thread the queue could never become idle.
    if (live.m_pEvents && !live.m_pEvents->IsOwnThread())
        live.m_pEvents->Drain();
}

void failNextAllocation()
{
    FailNextAllocation();
}

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
