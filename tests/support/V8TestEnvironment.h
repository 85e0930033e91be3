// Starts V8 once for a test binary and shuts it down after the last test.
#ifndef TEST_SUPPORT_V8_TEST_ENVIRONMENT_H
#define TEST_SUPPORT_V8_TEST_ENVIRONMENT_H

#include <Bridge/V8Runtime.h>
#include <gtest/gtest.h>
#include <memory>

namespace TestSupport {

class CV8TestEnvironment : public ::testing::Environment {
public:
    // V8 can be initialised only once per process: every user of V8 in the
    // binary goes through this.
    static CV8TestEnvironment& Get();

    void SetUp() override;
    void TearDown() override;

    // Between SetUp and TearDown.
    const Bridge::V8Runtime& Runtime() const { return *m_pRuntime; }

private:
    CV8TestEnvironment() = default;

    std::unique_ptr<Bridge::V8Runtime> m_pRuntime;
};

}  // namespace TestSupport

#endif
