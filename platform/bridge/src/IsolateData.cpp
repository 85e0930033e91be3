#include "IsolateData.h"

namespace Bridge {

void IsolateData::Create(v8::Isolate* pIsolate, v8::Local<v8::Context> context)
{
    Delete(pIsolate);
    IsolateData* pData = new IsolateData();
    pData->m_context.Reset(pIsolate, context);
    pData->m_objects.SetThreadCalls(&pData->m_threadCalls);
    pIsolate->SetData(Slot(), pData);
}

void IsolateData::Delete(v8::Isolate* pIsolate)
{
    IsolateData* pData = From(pIsolate);
    pIsolate->SetData(Slot(), nullptr);
    delete pData;
}

CClassRecord* IsolateData::registerClass(ScriptBridge* pBridge)
{
    for (const std::unique_ptr<CClassRecord>& pClass : m_aClasses) {
        if (pClass->m_pBridge == pBridge)
            return pClass.get();
    }
    m_aClasses.emplace_back(new CClassRecord{pBridge, {}, nullptr});
    return m_aClasses.back().get();
}

CClassRecord* IsolateData::classOfTag(const void* pTag) const
{
    for (const std::unique_ptr<CClassRecord>& pClass : m_aClasses) {
        if (pClass.get() == pTag)
            return pClass.get();
    }
    return nullptr;
}

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
