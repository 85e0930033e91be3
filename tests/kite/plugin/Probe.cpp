#include "Probe.h"

#include "ProbeHandlers.h"

BRIDGE_NATIVE_CLASS("Probe", KiteTest::CProbe);
BRIDGE_NATIVE_CLASS("Foreign", KiteTest::CForeign);

namespace KiteTest {

int CProbe::s_iLive = 0;
int CProbe::s_iDestroyed = 0;
int CProbe::s_iHandlerCalls = 0;

CProbe::CProbe()
{
    ++s_iLive;
}

CProbe::~CProbe()
{
    --s_iLive;
    ++s_iDestroyed;
}

const char* CProbeBridge::getScriptClassName() const
{
    return "Probe";
}

void CProbeBridge::mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    for (const CProbeMethod& method : ProbeMethods())
        context.m_hPrototypeTemplate->Set(Bridge::StringToV8(method.m_pszName),
                                          v8::FunctionTemplate::New(pIsolate, method.m_pRouter));
    context.m_hInstanceTemplate->SetAccessor(
        Bridge::StringToV8("onvalue"), nullptr,
        Bridge::ScriptBridge::setJSFunction<CProbe, &CProbe::set_onvalue, CProbe>);
}

void* CProbeBridge::constructFromScript(const Bridge::ScriptArray&)
{
    return new CProbe;
}

void CProbeBridge::destroyFromScript(void* pNative)
{
    delete static_cast<CProbe*>(pNative);
}

namespace {

Bridge::ScriptObject Kind(CForeign* pForeign, const Bridge::ScriptArray&)
{
    return Bridge::ScriptObject(pForeign->m_iMarker);
}

}  // namespace

const char* CForeignBridge::getScriptClassName() const
{
    return "Foreign";
}

void CForeignBridge::mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context)
{
    context.m_hPrototypeTemplate->Set(
        Bridge::StringToV8("marker"),
        v8::FunctionTemplate::New(v8::Isolate::GetCurrent(),
                                  Bridge::ScriptBridge::functionCallRouter<CForeign, Kind, CForeign>));
}

void* CForeignBridge::constructFromScript(const Bridge::ScriptArray&)
{
    return new CForeign;
}

void CForeignBridge::destroyFromScript(void* pNative)
{
    delete static_cast<CForeign*>(pNative);
}

}  // namespace KiteTest

std::vector<Bridge::ScriptBridge*> loadBridges()
{
    static std::vector<Bridge::ScriptBridge*> s_aBridges;
    s_aBridges.push_back(new KiteTest::CProbeBridge);
    s_aBridges.push_back(new KiteTest::CForeignBridge);
    return std::vector<Bridge::ScriptBridge*>(s_aBridges.end() - 2, s_aBridges.end());
}
