#include "Probe.h"

#include <Bridge/ClassBuilder.h>

namespace KiteTest {

int CProbe::s_iDestroyed = 0;
int CProbe::s_iHandlerCalls = 0;

CProbe::~CProbe()
{
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

}  // namespace KiteTest

std::vector<Bridge::ScriptBridge*> loadBridges()
{
    static std::vector<Bridge::ScriptBridge*> s_aBridges;
    s_aBridges.push_back(new KiteTest::CProbeBridge);
    s_aBridges.push_back(new KiteTest::CForeignBridge);
    return std::vector<Bridge::ScriptBridge*>(s_aBridges.end() - 2, s_aBridges.end());
}
