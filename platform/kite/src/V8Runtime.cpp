#include "Bridge/V8Runtime.h"

#include <libplatform/libplatform.h>

namespace Bridge {

V8Runtime::V8Runtime(const char* pszProgram)
{
    v8::V8::InitializeICUDefaultLocation(pszProgram);
    v8::V8::InitializeExternalStartupData(pszProgram);
    m_pPlatform = v8::platform::NewDefaultPlatform();
    v8::V8::InitializePlatform(m_pPlatform.get());
    v8::V8::Initialize();
    m_pAllocator.reset(v8::ArrayBuffer::Allocator::NewDefaultAllocator());
}

V8Runtime::~V8Runtime()
{
    m_pAllocator.reset();
    v8::V8::Dispose();
    v8::V8::DisposePlatform();
}

IsolateHolder::IsolateHolder(const V8Runtime& runtime)
{
    v8::Isolate::CreateParams params;
    params.array_buffer_allocator = runtime.Allocator();
    m_pIsolate = v8::Isolate::New(params);
}

IsolateHolder::~IsolateHolder()
{
    m_pIsolate->Dispose();
}

}  // namespace Bridge
