#include "Probe.h"

#include <Bridge/ClassBuilder.h>

namespace KiteTest {

int CProbe::s_iDestroyed = 0;
int CProbe::s_iHandlerCalls = 0;
int g_iBridgesDestroyed = 0;

CProbe::~CProbe()
{
    {
        std::lock_guard<std::mutex> lock(m_counterLock);
        m_bCounterStop = true;
    }
    m_cvCounterStop.notify_one();
    if (m_counter.joinable())
        m_counter.join();
    ++s_iDestroyed;
}

template <>
const char* CProbeBridge::getScriptClassName() const
{
    return "Probe";
}

template <>
const char* CForeignBridge::getScriptClassName() const
{
    return "Foreign";
}

namespace {

Bridge::ScriptObject Marker(CForeign* pForeign, const Bridge::ScriptArray&)
{
    return Bridge::ScriptObject(pForeign->m_iMarker);
}

}  // namespace

template <>
void CForeignBridge::mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context)
{
    Bridge::ClassBuilder<CForeign>(*this, context).method<Marker>("marker");
}

namespace {

std::vector<Bridge::ScriptBridge*>& BridgeList()
{
    static std::vector<Bridge::ScriptBridge*> s_aBridges;
    return s_aBridges;
}

}  // namespace

const std::vector<Bridge::ScriptBridge*>& MadeBridges()
{
    return BridgeList();
}

namespace {

std::vector<Bridge::ScriptBridge*>& InstalledList()
{
    static std::vector<Bridge::ScriptBridge*> s_aInstalled;
    return s_aInstalled;
}

}  // namespace

const std::vector<Bridge::ScriptBridge*>& InstalledBridges()
{
    return InstalledList();
}

void NoteInstalled(Bridge::ScriptBridge* pBridge)
{
    InstalledList().push_back(pBridge);
}

}  // namespace KiteTest

std::vector<Bridge::ScriptBridge*> loadBridges()
{
    KiteTest::BridgeList().push_back(new KiteTest::CProbeBridge);
    KiteTest::BridgeList().push_back(new KiteTest::CForeignBridge);
    KiteTest::BridgeList().push_back(KiteTest::NewShelfBridge());
    return KiteTest::BridgeList();
}
