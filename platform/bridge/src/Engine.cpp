#include "Bridge/Engine.h"

#include "Bridge/ScriptBridge.h"
#include "IsolateData.h"
#include "ScriptCall.h"

namespace Bridge {

namespace {

// Verbose TryCatches hand their exceptions to the message listeners, and
// with none V8 prints a line of its own; the uncaught handler reports them.
void IgnoreMessage(v8::Local<v8::Message>, v8::Local<v8::Value>) {}

// The current isolate's data; null when no isolate is entered or it is not
// attached.
IsolateData* CurrentData()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    return pIsolate != nullptr ? IsolateData::From(pIsolate) : nullptr;
}

}  // namespace

void Engine::Attach(v8::Isolate* pIsolate, v8::Local<v8::Context> context, TaskPoster post)
{
    IsolateData::Create(pIsolate, context);
    IsolateData::From(pIsolate)->m_objects.SetDrain(post, DestroyCollected);
    Compat::RemoveMessageListeners<IgnoreMessage>(pIsolate);
    Compat::AddMessageListener<IgnoreMessage>(pIsolate);
}

void Engine::Detach()
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    IsolateData* pData = CurrentData();
    if (pData == nullptr)
        return;
    {
        v8::HandleScope scope(pIsolate);
        v8::Context::Scope contextScope(pData->context(pIsolate));
        pData->m_objects.DestroyAll(pIsolate);
    }
    Compat::RemoveMessageListeners<IgnoreMessage>(pIsolate);
    IsolateData::Delete(pIsolate);
}

v8::Local<v8::Context> Engine::GetContext(v8::Isolate* pIsolate)
{
    IsolateData* pData = IsolateData::From(pIsolate);
    return pData != nullptr ? pData->context(pIsolate) : v8::Local<v8::Context>();
}

void Engine::SetUncaughtHandler(UncaughtHandler handler)
{
    IsolateData* pData = CurrentData();
    if (pData != nullptr)
        pData->m_uncaughtHandler = handler;
}

void Engine::SetEventPoster(EventPoster post)
{
    IsolateData* pData = CurrentData();
    if (pData != nullptr)
        pData->m_threadCalls.SetPoster(post);
}

void Engine::SetCallbackObserver(const CallbackObserver* pObserver)
{
    IsolateData* pData = CurrentData();
    if (pData != nullptr) {
        pData->m_callbackHanded = pObserver != nullptr ? pObserver->m_handed : nullptr;
        pData->m_callbackCalling = pObserver != nullptr ? pObserver->m_calling : nullptr;
    }
}

bool Engine::HoldsRun()
{
    IsolateData* pData = CurrentData();
    return pData != nullptr && pData->m_threadCalls.HoldsRun();
}

void Engine::SetDestroyedHandler(DestroyedHandler handler)
{
    IsolateData* pData = CurrentData();
    if (pData != nullptr)
        pData->m_objects.SetDestroyedHandler(handler);
}

void Engine::ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch)
{
    Bridge::ReportUncaught(pIsolate, tryCatch);
}

void Engine::InstallClass(ScriptBridge* pBridge)
{
    v8::Isolate* pIsolate = v8::Isolate::GetCurrent();
    v8::HandleScope scope(pIsolate);
    v8::Local<v8::Context> context = GetContext(pIsolate);
    v8::Context::Scope contextScope(context);
    pBridge->bridgeTo(context->Global());
    pBridge->contextReady();
}

bool Engine::DestroyObject(v8::Local<v8::Object> object)
{
    IsolateData* pData = CurrentData();
    if (object.IsEmpty() || pData == nullptr)
        return false;
    return pData->m_objects.Destroy(v8::Isolate::GetCurrent(), object);
}

std::size_t Engine::LiveObjectCount()
{
    IsolateData* pData = CurrentData();
    return pData != nullptr ? pData->m_objects.Count() : 0;
}

unsigned long long Engine::ObjectsMade()
{
    IsolateData* pData = CurrentData();
    return pData != nullptr ? pData->m_objects.TrackedSoFar() : 0;
}

std::vector<Engine::LiveObject> Engine::LiveObjectsSince(unsigned long long ullMark)
{
    IsolateData* pData = CurrentData();
    if (pData == nullptr)
        return {};
    return pData->m_objects.LiveSince(v8::Isolate::GetCurrent(), ullMark);
}

bool Engine::SetKeepsRun(void* pNative, bool bKeeps)
{
    IsolateData* pData = CurrentData();
    return pData != nullptr && pData->m_objects.SetKeepsRun(pNative, bKeeps);
}

std::size_t Engine::RunKeepingObjectCount()
{
    IsolateData* pData = CurrentData();
    return pData != nullptr ? pData->m_objects.KeepingRunCount() : 0;
}

void Engine::CollectGarbage(v8::Isolate* pIsolate)
{
    pIsolate->LowMemoryNotification();
    DestroyCollected();
}

void Engine::DestroyCollected()
{
    IsolateData* pData = CurrentData();
    if (pData != nullptr)
        pData->m_objects.DestroyCollected();
}

bool Engine::HasCollected()
{
    IsolateData* pData = CurrentData();
    return pData != nullptr && pData->m_objects.HasCollected();
}

}  // namespace Bridge
