#include "V8Runtime.h"

#include <libplatform/libplatform.h>

namespace Kite {

CV8Runtime::CV8Runtime(const char* pszProgram)
{
    v8::V8::InitializeICUDefaultLocation(pszProgram);
    v8::V8::InitializeExternalStartupData(pszProgram);
    m_pPlatform = v8::platform::NewDefaultPlatform();
    v8::V8::InitializePlatform(m_pPlatform.get());
    v8::V8::Initialize();

    m_pAllocator.reset(v8::ArrayBuffer::Allocator::NewDefaultAllocator());
    v8::Isolate::CreateParams params;
    params.array_buffer_allocator = m_pAllocator.get();
    m_pIsolate = v8::Isolate::New(params);
}

CV8Runtime::~CV8Runtime()
{
    m_pIsolate->Dispose();
    v8::V8::Dispose();
    v8::V8::DisposePlatform();
}

}  // namespace Kite
