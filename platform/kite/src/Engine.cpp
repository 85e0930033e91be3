#include "Bridge/Engine.h"

#include <cstdio>
#include <vector>

#include "Bridge/ScriptBridge.h"
#include "Bridge/ScriptText.h"
#include "ObjectRegistry.h"
#include "ScriptKeys.h"

namespace Bridge {

namespace {
v8::Global<v8::Context> s_context;
Engine::UncaughtHandler s_uncaughtHandler = nullptr;
std::vector<ScriptBridge*> s_installed;

// Verbose TryCatches hand their exceptions to the message listeners, and
// with none V8 prints a line of its own; the uncaught handler reports them.
void IgnoreMessage(v8::Local<v8::Message>, v8::Local<v8::Value>) {}
}  // namespace

void Engine::Attach(v8::Isolate* pIsolate, v8::Local<v8::Context> context)
{
    s_context.Reset(pIsolate, context);
    pIsolate->RemoveMessageListeners(IgnoreMessage);
    pIsolate->AddMessageListener(IgnoreMessage);
}

void Engine::Detach()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    if (pIsolate != nullptr) {
        v8::HandleScope scope(pIsolate);
        v8::Local<v8::Context> context = GetContext(pIsolate);
        if (!context.IsEmpty()) {
            v8::Context::Scope contextScope(context);
            CObjectRegistry::DestroyAll(pIsolate);
        } else {
            CObjectRegistry::DestroyAll(pIsolate);
        }
    }
    if (pIsolate != nullptr) {
        ReleaseKeys(pIsolate);
        pIsolate->RemoveMessageListeners(IgnoreMessage);
    }
    for (ScriptBridge* pBridge : s_installed)
        pBridge->resetHandles();
    s_installed.clear();
    s_context.Reset();
}

v8::Local<v8::Context> Engine::GetContext(v8::Isolate* pIsolate)
{
    if (s_context.IsEmpty())
        return v8::Local<v8::Context>();
    return s_context.Get(pIsolate);
}

void Engine::SetUncaughtHandler(UncaughtHandler handler)
{
    s_uncaughtHandler = handler;
}

void Engine::SetDestroyedHandler(DestroyedHandler handler)
{
    CObjectRegistry::SetDestroyedHandler(handler);
}

void Engine::ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch)
{
    v8::HandleScope scope(pIsolate);
    if (s_uncaughtHandler != nullptr) {
        s_uncaughtHandler(pIsolate, tryCatch.Exception(), tryCatch.Message());
        return;
    }
    v8::Local<v8::Value> exception = tryCatch.Exception();
    std::string strText = "(unknown)";
    v8::Local<v8::String> text;
    if (!exception.IsEmpty() && exception->ToString(pIsolate->GetCurrentContext()).ToLocal(&text))
        strText = TextOf(pIsolate, text);
    std::fprintf(stderr, "Uncaught %s\n", strText.c_str());
}

void Engine::InstallClass(ScriptBridge* pBridge)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Context> context = GetContext(pIsolate);
    v8::Context::Scope contextScope(context);
    pBridge->bridgeTo(context->Global());
    pBridge->contextReady();
    s_installed.push_back(pBridge);
}

bool Engine::DestroyObject(v8::Local<v8::Object> object)
{
    if (object.IsEmpty())
        return false;
    return CObjectRegistry::Destroy(v8::Isolate::GetCurrent(), object);
}

std::size_t Engine::LiveObjectCount()
{
    return CObjectRegistry::Count();
}

void Engine::CollectGarbage(v8::Isolate* pIsolate)
{
    pIsolate->LowMemoryNotification();
    CObjectRegistry::DestroyCollected();
}

void Engine::DestroyCollected()
{
    CObjectRegistry::DestroyCollected();
}

bool Engine::HasCollected()
{
    return CObjectRegistry::HasCollected();
}

}  // namespace Bridge
