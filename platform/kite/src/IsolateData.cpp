#include "IsolateData.h"

#include <cstdio>

#include "ScriptText.h"

namespace Bridge {

void IsolateData::Create(v8::Isolate* pIsolate, v8::Local<v8::Context> context)
{
    Delete(pIsolate);
    IsolateData* pData = new IsolateData();
    pData->m_context.Reset(pIsolate, context);
    pIsolate->SetData(Slot(), pData);
}

void IsolateData::Delete(v8::Isolate* pIsolate)
{
    IsolateData* pData = From(pIsolate);
    pIsolate->SetData(Slot(), nullptr);
    delete pData;
}

void IsolateData::ReportUncaught(v8::Isolate* pIsolate, const v8::TryCatch& tryCatch)
{
    v8::HandleScope scope(pIsolate);
    IsolateData* pData = From(pIsolate);
    if (pData != nullptr && pData->m_uncaughtHandler != nullptr) {
        pData->m_uncaughtHandler(pIsolate, tryCatch.Exception(), tryCatch.Message());
        return;
    }
    v8::Local<v8::Value> exception = tryCatch.Exception();
    std::string strText = "(unknown)";
    v8::Local<v8::String> text;
    if (!exception.IsEmpty() && exception->ToString(pIsolate->GetCurrentContext()).ToLocal(&text))
        strText = TextOf(pIsolate, text);
    std::fprintf(stderr, "Uncaught %s\n", strText.c_str());
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

}  // namespace Bridge
