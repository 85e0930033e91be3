#include "ScriptContextScope.h"

#include "IsolateData.h"

namespace Bridge {

CScriptContextScope::CScriptContextScope(v8::Isolate* pIsolate)
{
    if (pIsolate->InContext()) {
        m_context = pIsolate->GetCurrentContext();
        return;
    }
    IsolateData* pData = IsolateData::From(pIsolate);
    if (pData == nullptr)
        return;
    m_context = pData->context(pIsolate);
    m_scope.emplace(m_context);
}

}  // namespace Bridge
