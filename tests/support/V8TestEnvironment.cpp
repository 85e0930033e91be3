#include "V8TestEnvironment.h"

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
    m_pRuntime.reset(new Bridge::V8Runtime("/proc/self/exe"));
}

void CV8TestEnvironment::TearDown()
{
    m_pRuntime.reset();
}

}  // namespace TestSupport

namespace {

// Registered before main runs the tests, in every binary that links this file.
const bool s_bRegistered = (TestSupport::CV8TestEnvironment::Get(), true);

}  // namespace
