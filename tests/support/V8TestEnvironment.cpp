#include "V8TestEnvironment.h"

#include <libplatform/libplatform.h>

namespace TestSupport {

CV8TestEnvironment& CV8TestEnvironment::Get()
{
    // gtest owns and deletes registered environments.
    static CV8TestEnvironment* s_pEnvironment = static_cast<CV8TestEnvironment*>(
        ::testing::AddGlobalTestEnvironment(new CV8TestEnvironment));
    return *s_pEnvironment;
}

void CV8TestEnvironment::SetUp()
{
    v8::V8::InitializeICUDefaultLocation("/proc/self/exe");
    v8::V8::InitializeExternalStartupData("/proc/self/exe");
    m_pPlatform = v8::platform::NewDefaultPlatform();
    v8::V8::InitializePlatform(m_pPlatform.get());
    v8::V8::Initialize();
    m_pAllocator.reset(v8::ArrayBuffer::Allocator::NewDefaultAllocator());
}

void CV8TestEnvironment::TearDown()
{
    m_pAllocator.reset();
    v8::V8::Dispose();
    v8::V8::DisposePlatform();
}

}  // namespace TestSupport

namespace {

// Registered before main runs the tests, in every binary that links this file.
const bool s_bRegistered = (TestSupport::CV8TestEnvironment::Get(), true);

}  // namespace
