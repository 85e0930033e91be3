// The C++ face of the simulation, used by tests and by the `sim` script global.
#include "Cinecast/SimAdapter.h"

#include <algorithm>
#include <stdexcept>

#include "PlayerRegistry.h"
#include "SimBackend.h"

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

}  // namespace

CPlayers::CPlayers() : m_pRegistry(std::make_shared<CPlayerRegistry>()) {}

BackendFactory CPlayers::Factory() const
{
    std::shared_ptr<CPlayerRegistry> pRegistry = m_pRegistry;
    return [pRegistry]() -> CAdapterBackend* { return new CSimBackend(*pRegistry); };
}

std::size_t CPlayers::count() const
{
    return m_pRegistry->Count();
}

std::size_t CPlayers::alive() const
{
    return m_pRegistry->Alive();
}

bool CPlayers::isAlive(std::size_t i) const
{
    return m_pRegistry->At(i)->IsAlive();
}

std::vector<std::string> CPlayers::calls(std::size_t i) const
{
    return m_pRegistry->At(i)->Calls();
}

bool isAnswerableOperation(const std::string& strName)
{
    return std::find(std::begin(g_aszAnswerable), std::end(g_aszAnswerable), strName) !=
           std::end(g_aszAnswerable);
}

void CPlayers::answer(std::size_t i, const std::string& strName, bool bValue) const
{
    std::shared_ptr<CPlayerRecord> pRecord = m_pRegistry->At(i);
    if (strName == "RegisterKiteBridgeCallback")
        throw std::invalid_argument("RegisterKiteBridgeCallback is answered by the handler table");
    if (!isAnswerableOperation(strName))
        throw std::invalid_argument("no adapter operation named '" + strName + "'");
    pRecord->SetAnswer(strName, bValue);
}

void CPlayers::report(std::size_t i, const CReport& stReport) const
{
    m_pRegistry->At(i)->SetReport(stReport.m_ulDuration, stReport.m_ullPosition, stReport.m_iState);
}

void failNextAllocation()
{
    FailNextAllocation();
}

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
