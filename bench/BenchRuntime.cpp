#include "BenchRuntime.h"

#include <Bridge/Engine.h>
#include <Tether.h>
#include <cstdio>
#include <cstdlib>

namespace TetherBench {

namespace {

std::string TextOf(v8::Isolate* pIsolate, v8::Local<v8::Value> value)
{
    v8::String::Utf8Value utf8(pIsolate, value);
    return *utf8 != nullptr ? std::string(*utf8, static_cast<std::size_t>(utf8.length())) : "(no text)";
}

[[noreturn]] void Die(const std::string& strWhat)
{
    std::fprintf(stderr, "tether_bench: %s\n", strWhat.c_str());
    std::exit(2);
}

// As kite posts the plug-ins' events.
void PostEvent(Bridge::Engine::EventCall call, void* pData)
{
    g_idle_add_full(150, call, pData, nullptr);
}

}  // namespace

CBenchRuntime::CBenchRuntime(const char* pszArgv0)
    : m_runtime(pszArgv0), m_isolate(m_runtime), m_pIsolate(m_isolate.Isolate())
{
    m_pIsolate->Enter();
    v8::HandleScope scope(m_pIsolate);
    v8::Local<v8::Context> context = v8::Context::New(m_pIsolate);
    m_context.Reset(m_pIsolate, context);
    Bridge::Engine::Attach(m_pIsolate, context);
    Bridge::Engine::SetEventPoster(PostEvent);
    DeviceAPI::Cinecast::SetBackendFactory(m_players.Factory());
    for (Bridge::ScriptBridge* pBridge : loadBridges())
        Bridge::Engine::InstallClass(pBridge);
    m_pLoop = g_main_loop_new(nullptr, FALSE);
}

CBenchRuntime::~CBenchRuntime()
{
    Bridge::Engine::Detach();
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    g_main_loop_unref(m_pLoop);
    m_context.Reset();
    m_pIsolate->Exit();
}

void CBenchRuntime::Run(const std::string& strSource)
{
    v8::HandleScope scope(m_pIsolate);
    v8::Local<v8::Context> context = Context();
    v8::Context::Scope contextScope(context);
    v8::TryCatch tryCatch(m_pIsolate);
    v8::Local<v8::String> source =
        v8::String::NewFromUtf8(m_pIsolate, strSource.data(), v8::NewStringType::kNormal,
                                static_cast<int>(strSource.size()))
            .ToLocalChecked();
    v8::Local<v8::Script> script;
    v8::Local<v8::Value> result;
    if (!v8::Script::Compile(context, source).ToLocal(&script) || !script->Run(context).ToLocal(&result))
        Die("script threw " + TextOf(m_pIsolate, tryCatch.Exception()) + "\n  in: " + strSource);
}

v8::Local<v8::Function> CBenchRuntime::Function(const std::string& strName)
{
    v8::Local<v8::Context> context = Context();
    v8::Local<v8::Value> value;
    v8::Local<v8::String> name =
        v8::String::NewFromUtf8(m_pIsolate, strName.c_str()).ToLocalChecked();
    if (!context->Global()->Get(context, name).ToLocal(&value) || !value->IsFunction())
        Die("no global function " + strName);
    return value.As<v8::Function>();
}

void CBenchRuntime::Call(const v8::Global<v8::Function>& function, double dArgument)
{
    v8::HandleScope scope(m_pIsolate);
    v8::Local<v8::Context> context = Context();
    v8::Context::Scope contextScope(context);
    v8::TryCatch tryCatch(m_pIsolate);
    v8::Local<v8::Value> argv[1] = {v8::Number::New(m_pIsolate, dArgument)};
    v8::Local<v8::Value> result;
    if (!function.Get(m_pIsolate)->Call(context, v8::Undefined(m_pIsolate), 1, argv).ToLocal(&result))
        Die("benchmark loop threw " + TextOf(m_pIsolate, tryCatch.Exception()));
}

void CBenchRuntime::SetNative(const char* pszName, v8::FunctionCallback callback)
{
    v8::HandleScope scope(m_pIsolate);
    v8::Local<v8::Context> context = Context();
    v8::Local<v8::Function> function = v8::Function::New(context, callback).ToLocalChecked();
    context->Global()
        ->Set(context, v8::String::NewFromUtf8(m_pIsolate, pszName).ToLocalChecked(), function)
        .Check();
}

void CBenchRuntime::RunMainLoop()
{
    g_main_loop_run(m_pLoop);
}

void CBenchRuntime::Quit()
{
    g_main_loop_quit(m_pLoop);
}

void CBenchRuntime::CollectGarbage()
{
    m_pIsolate->LowMemoryNotification();
    Bridge::Engine::DestroyCollected();
}

}  // namespace TetherBench
