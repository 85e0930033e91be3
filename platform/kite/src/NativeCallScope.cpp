#include "Bridge/NativeCallScope.h"

#include "ObjectRegistry.h"

namespace Bridge {

NativeCallScope::NativeCallScope(void* pNative) : m_pTracked(CObjectRegistry::BeginCall(pNative)) {}

NativeCallScope::~NativeCallScope()
{
    CObjectRegistry::EndCall(m_pTracked);
}

}  // namespace Bridge
