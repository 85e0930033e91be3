#include "ScriptContextScope.h"

#include "Bridge/Engine.h"

namespace Bridge {

CScriptContextScope::CScriptContextScope(v8::Isolate* pIsolate)
{
    if (pIsolate->InContext()) {
        m_context = pIsolate->GetCurrentContext();
        return;
    }
    m_context = Engine::GetContext(pIsolate);
    if (!m_context.IsEmpty())
        m_scope.emplace(m_context);
}

}  // namespace Bridge
