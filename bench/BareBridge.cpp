#include "BareBridge.h"

#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>

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

using Router = Bridge::ScriptBridge;

// A fresh object with "return_ecode" 0, stored as a command stores it.
Bridge::ScriptObject Success()
{
    Bridge::ScriptObject result;
    result.set("return_ecode", Bridge::ScriptObject(0));
    return result;
}

class CBareBridge : public Bridge::ScriptBridge {
public:
    const char* getScriptClassName() const override { return "BareBridge"; }

    void mapScriptInterface(Bridge::ScriptBridge::ScriptContext& context) override
    {
        AddMethod(context, "player_get_duration",
                  &Router::functionCallRouter<CBareBridgeNative, &CBareBridge::HandleGetDuration, CBareBridgeNative>);
        AddMethod(context, "player_seek_to",
                  &Router::functionCallRouter<CBareBridgeNative, &CBareBridge::HandleSeekTo, CBareBridgeNative>);
    }

    void* constructFromScript(const Bridge::ScriptArray&) override { return new CBareBridgeNative(); }

    void destroyFromScript(void* pNative) override { delete static_cast<CBareBridgeNative*>(pNative); }

    static Bridge::ScriptObject HandleGetDuration(CBareBridgeNative* pNative, const Bridge::ScriptArray&)
    {
        Bridge::ScriptObject result = Success();
        result.set("return_type", Bridge::ScriptObject(1));
        result.set("return_data", Bridge::ScriptObject(pNative->m_iDuration));
        return result;
    }

    static Bridge::ScriptObject HandleSeekTo(CBareBridgeNative* pNative, const Bridge::ScriptArray& aArgs)
    {
        aArgs.get(0).tryGetNumber("param_seek_to", pNative->m_dSeekTo);
        return Success();
    }

private:
    // As the plug-in installs its methods.
    static void AddMethod(Bridge::ScriptBridge::ScriptContext& context, const char* pszName,
                          v8::FunctionCallback pRouter)
    {
        v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
        context.m_hPrototypeTemplate->Set(
            v8::String::NewFromUtf8(pIsolate, pszName).ToLocalChecked(),
            v8::FunctionTemplate::New(pIsolate, pRouter, v8::Local<v8::Value>(), v8::Local<v8::Signature>(), 0),
            v8::None);
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
