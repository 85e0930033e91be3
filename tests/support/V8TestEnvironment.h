// Starts V8 once for a test binary and shuts it down after the last test.
#ifndef TEST_SUPPORT_V8_TEST_ENVIRONMENT_H
#define TEST_SUPPORT_V8_TEST_ENVIRONMENT_H

#include <gtest/gtest.h>
#include <memory>
#include <v8.h>

namespace TestSupport {

class CV8TestEnvironment : public ::testing::Environment {
public:
    // V8 can be initialised only once per process: every user of V8 in the
    // binary goes through this.
    static CV8TestEnvironment& Get();

    void SetUp() override;
    void TearDown() override;

    v8::ArrayBuffer::Allocator* Allocator() const { return m_pAllocator.get(); }

private:
    CV8TestEnvironment() = default;

    std::unique_ptr<v8::Platform> m_pPlatform;
    std::unique_ptr<v8::ArrayBuffer::Allocator> m_pAllocator;
};

}  // namespace TestSupport

#endif
