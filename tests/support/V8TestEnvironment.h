// Starts V8 once for a test binary and shuts it down after the last test.
#ifndef TEST_SUPPORT_V8_TEST_ENVIRONMENT_H
#define TEST_SUPPORT_V8_TEST_ENVIRONMENT_H

#include <Bridge/Engine.h>
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

// A new isolate of the runtime, entered, with a context in which the engine
// is attached: for tests of one isolate after another. The test detaches.
class CFreshIsolate {
public:
    CFreshIsolate()
        : m_holder(CV8TestEnvironment::Get().Runtime()),
          m_isolateScope(m_holder.Isolate()),
          m_handleScope(m_holder.Isolate()),
          m_context(v8::Context::New(m_holder.Isolate())),
          m_contextScope(m_context)
    {
        Bridge::Engine::Attach(m_holder.Isolate(), m_context);
    }
    v8::Isolate* Isolate() const { return m_holder.Isolate(); }
    v8::Local<v8::Context> Context() const { return m_context; }

private:
    Bridge::IsolateHolder m_holder;
    v8::Isolate::Scope m_isolateScope;
    v8::HandleScope m_handleScope;
    v8::Local<v8::Context> m_context;
    v8::Context::Scope m_contextScope;
};

}  // namespace TestSupport

#endif
