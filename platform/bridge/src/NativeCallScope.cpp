#include "Bridge/NativeCallScope.h"

#include "IsolateData.h"

namespace Bridge {

namespace {

void* BeginCall(void* pNative)
{
    IsolateData* pData = IsolateData::From(v8::Isolate::GetCurrent());
    return pData != nullptr ? pData->m_objects.BeginCall(pNative) : nullptr;
}

}  // namespace

NativeCallScope::NativeCallScope(void* pNative) : m_pTracked(BeginCall(pNative)) {}

NativeCallScope::~NativeCallScope()
{
    CObjectRegistry::EndCall(m_pTracked);
}

}  // namespace Bridge
