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

std::vector<Bridge::ScriptBridge*> s_aMadeBridges;
std::vector<Bridge::ScriptBridge*> s_aInstalledBridges;

}  // namespace

const std::vector<Bridge::ScriptBridge*>& MadeBridges()
{
    return s_aMadeBridges;
}

const std::vector<Bridge::ScriptBridge*>& InstalledBridges()
{
    return s_aInstalledBridges;
}

void NoteInstalled(Bridge::ScriptBridge* pBridge)
{
    s_aInstalledBridges.push_back(pBridge);
}

}  // namespace KiteTest

std::vector<Bridge::ScriptBridge*> loadBridges()
{
    KiteTest::s_aMadeBridges.push_back(new KiteTest::CProbeBridge);
    KiteTest::s_aMadeBridges.push_back(new KiteTest::CForeignBridge);
    KiteTest::s_aMadeBridges.push_back(KiteTest::NewShelfBridge());
    return KiteTest::s_aMadeBridges;
}
