#include "BareBridge.h"

#include <Bridge/ClassBuilder.h>
#include <Bridge/Engine.h>
#include <string>

namespace TetherBench {

namespace {

// What a bare object answers from, where the plug-in asks its adapter.
struct CBareBridgeNative {
    int m_iDuration = 180000;  // the quiet player's
    double m_dSeekTo = 0.0;    // the last position asked for
};

}  // namespace

}  // namespace TetherBench

BRIDGE_NATIVE_CLASS("BareBridge", TetherBench::CBareBridgeNative);

namespace TetherBench {

namespace {

// The names of a result's properties, made once as the plug-in makes them.
struct CResultNames {
    const std::string m_strEcode{"return_ecode"};
    const std::string m_strType{"return_type"};
    const std::string m_strData{"return_data"};
};

const CResultNames& ResultNames()
{
    static const CResultNames s_names;
    return s_names;
}

// A fresh object with "return_ecode" 0, stored as a command stores it.
Bridge::ScriptObject Success()
{
    Bridge::ScriptObject result;
    result.set(ResultNames().m_strEcode, Bridge::ScriptObject(0));
    return result;
}

Bridge::ScriptObject HandleGetDuration(CBareBridgeNative* pNative, const Bridge::ScriptArray&)
{
    Bridge::ScriptObject result = Success();
    result.set(ResultNames().m_strType, Bridge::ScriptObject(1));
    result.set(ResultNames().m_strData, Bridge::ScriptObject(pNative->m_iDuration));
    return result;
}

Bridge::ScriptObject HandleSeekTo(CBareBridgeNative* pNative, const Bridge::ScriptArray& aArgs)
{
    aArgs.get(0).tryGetNumber("param_seek_to", pNative->m_dSeekTo);
    return Success();
}

// Its methods installed as the plug-in installs its own.
class CBareBridge : public Bridge::ClassBridge<CBareBridgeNative> {
public:
    CBareBridge() : ClassBridge("BareBridge") {}

    void mapScriptInterface(ScriptContext& context) override
    {
        Bridge::ClassBuilder<CBareBridgeNative>(*this, context)
            .method<HandleGetDuration>("player_get_duration")
            .method<HandleSeekTo>("player_seek_to");
    }
};

// Bridges live as long as the process, as the plug-in's do.
CBareBridge s_bridge;

}  // namespace

void InstallBareBridge()
{
    Bridge::Engine::InstallClass(&s_bridge);
}

}  // namespace TetherBench
