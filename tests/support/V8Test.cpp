#include "V8Test.h"

#include <Bridge/Engine.h>
#include <Bridge/ScriptBridge.h>
#include <glib.h>

#include "V8TestEnvironment.h"

namespace TestSupport {

namespace {

std::string TextOf(v8::Isolate* pIsolate, v8::Local<v8::Value> value)
{
    v8::TryCatch guard(pIsolate);
    v8::Local<v8::String> text;
    if (value.IsEmpty() || !value->ToString(pIsolate->GetCurrentContext()).ToLocal(&text))
        return "(no text)";
    v8::String::Utf8Value utf8(pIsolate, text);
    return std::string(*utf8, static_cast<std::size_t>(utf8.length()));
}

gboolean RunTask(gpointer pTask)
{
    reinterpret_cast<Bridge::Engine::Task>(pTask)();
    return G_SOURCE_REMOVE;
}

// As kite posts the engine's work: to the main loop.
void PostTask(Bridge::Engine::Task task)
{
    g_idle_add(RunTask, reinterpret_cast<gpointer>(task));
}

// As kite posts the plug-ins' events.
void PostEvent(Bridge::Engine::EventCall call, void* pData)
{
    g_idle_add_full(150, call, pData, nullptr);
}

}  // namespace

CV8Test::CScope::CScope(CV8Test& test) : m_handleScope(test.Isolate()), m_contextScope(test.Context()) {}

void CV8Test::SetUp()
{
    m_pHolder.reset(new Bridge::IsolateHolder(CV8TestEnvironment::Get().Runtime()));
    m_pIsolate = m_pHolder->Isolate();
    m_pIsolate->Enter();
    v8::HandleScope scope(m_pIsolate);
    v8::Local<v8::Context> context = v8::Context::New(m_pIsolate);
    m_context.Reset(m_pIsolate, context);
    Bridge::Engine::Attach(m_pIsolate, context, PostTask);
    Bridge::Engine::SetEventPoster(PostEvent);
}

void CV8Test::TearDown()
{
    Bridge::Engine::Detach();
    // Leftovers of this test (queued event records, collection drains) run
    // now rather than in the next test's isolate.
    for (int i = 0; i < 10000 && g_main_context_iteration(nullptr, FALSE); ++i) {
    }
    m_context.Reset();
    m_pIsolate->Exit();
    m_pHolder.reset();
    m_pIsolate = nullptr;
}

v8::Local<v8::Value> CV8Test::Run(const std::string& strSource)
{
    v8::EscapableHandleScope scope(m_pIsolate);
    v8::Context::Scope contextScope(Context());
    v8::TryCatch tryCatch(m_pIsolate);
    v8::Local<v8::Context> context = Context();
    v8::Local<v8::Script> script;
    v8::Local<v8::Value> result;
    if (!v8::Script::Compile(context, Bridge::StringToV8(strSource)).ToLocal(&script) ||
        !script->Run(context).ToLocal(&result)) {
        ADD_FAILURE() << "script threw " << TextOf(m_pIsolate, tryCatch.Exception()) << "\n  in: " << strSource;
        return v8::Local<v8::Value>();
    }
    return scope.Escape(result);
}

std::string CV8Test::Eval(const std::string& strSource)
{
    CScope scope(*this);
    v8::Local<v8::Value> result = Run(strSource);
    return result.IsEmpty() ? std::string() : TextOf(m_pIsolate, result);
}

void CV8Test::SetGlobal(const std::string& strName, v8::Local<v8::Value> value)
{
    Context()->Global()->Set(Context(), Bridge::StringToV8(strName), value).Check();
}

}  // namespace TestSupport
