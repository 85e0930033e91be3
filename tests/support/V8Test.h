// A gtest fixture with a fresh V8 isolate and context per test, attached to
// the bridge library as the host does it.
//
// Between calls nothing is entered but the isolate: no handle scope, no
// context, as on the host's main loop. Code that needs handles opens a
// CScope; Eval opens its own.
#ifndef TEST_SUPPORT_V8_TEST_H
#define TEST_SUPPORT_V8_TEST_H

#include <Bridge/V8Runtime.h>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <v8.h>

namespace TestSupport {

class CV8Test : public ::testing::Test {
public:
    // A handle scope with the test's context entered.
    class CScope {
    public:
        explicit CScope(CV8Test& test);

    private:
        v8::HandleScope m_handleScope;
        v8::Context::Scope m_contextScope;
    };

protected:
    void SetUp() override;
    // Destroys every native still alive (Engine::Detach), then the isolate.
    void TearDown() override;

    v8::Isolate* Isolate() const { return m_pIsolate; }
    // Needs a handle scope.
    v8::Local<v8::Context> Context() const { return m_context.Get(m_pIsolate); }

    // Runs a script in the caller's scope; an exception fails the test and
    // gives an empty handle.
    v8::Local<v8::Value> Run(const std::string& strSource);
    // The completion value as String() shows it ("" after a failure).
    std::string Eval(const std::string& strSource);

    // Puts a value on the global object; needs a CScope.
    void SetGlobal(const std::string& strName, v8::Local<v8::Value> value);

private:
    std::unique_ptr<Bridge::IsolateHolder> m_pHolder;
    v8::Isolate* m_pIsolate = nullptr;
    v8::Global<v8::Context> m_context;
};

}  // namespace TestSupport

#endif
