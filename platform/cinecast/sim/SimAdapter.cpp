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

CAdapterBackend* CreateBackend()
{
    return new CSimBackend();
}

std::size_t count()
{
    return CPlayerRegistry::Instance().Count();
}

std::size_t alive()
{
    return CPlayerRegistry::Instance().Alive();
}

bool isAlive(std::size_t i)
{
    return CPlayerRegistry::Instance().At(i)->IsAlive();
}

std::vector<std::string> calls(std::size_t i)
{
    return CPlayerRegistry::Instance().At(i)->Calls();
}

bool isAnswerableOperation(const std::string& strName)
{
    return std::find(std::begin(g_aszAnswerable), std::end(g_aszAnswerable), strName) !=
           std::end(g_aszAnswerable);
}

void answer(std::size_t i, const std::string& strName, bool bValue)
{
    std::shared_ptr<CPlayerRecord> pRecord = CPlayerRegistry::Instance().At(i);
    if (strName == "RegisterKiteBridgeCallback")
        throw std::invalid_argument("RegisterKiteBridgeCallback is answered by the handler table");
    if (!isAnswerableOperation(strName))
        throw std::invalid_argument("no adapter operation named '" + strName + "'");
    pRecord->SetAnswer(strName, bValue);
}

void report(std::size_t i, const CReport& stReport)
{
    CPlayerRegistry::Instance().At(i)->SetReport(stReport.m_ulDuration, stReport.m_ullPosition, stReport.m_iState);
}

void failNextAllocation()
{
    FailNextAllocation();
}

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
