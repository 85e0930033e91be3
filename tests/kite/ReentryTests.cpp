// Script code that runs inside a native call (a getter, a proxy trap)
// destroys the call's own object: the object reads as destroyed at once, and
// its native lives until the outermost call using it has returned.
#include <Bridge/Engine.h>
#include <gtest/gtest.h>

#include "Probe.h"
#include "V8Test.h"

namespace {

using KiteTest::CProbe;

void Destroy(const v8::FunctionCallbackInfo<v8::Value>& info)
{
    info.GetReturnValue().Set(info[0]->IsObject() && Bridge::Engine::DestroyObject(info[0].As<v8::Object>()));
}

class ReentryTest : public TestSupport::CV8Test {
protected:
    void SetUp() override
    {
        CV8Test::SetUp();
        Bridge::Engine::InstallClass(&m_probe);
        CScope scope(*this);
        v8::Local<v8::Context> context = Context();
        context->Global()
            ->Set(context, v8::String::NewFromUtf8Literal(Isolate(), "destroy"),
                  v8::Function::New(context, Destroy).ToLocalChecked())
            .Check();
        Eval("globalThis.p = new Probe(); globalThis.seen = []");
        m_iDestroyed = CProbe::s_iDestroyed;
    }

    // Probes destroyed since SetUp.
    int Destroyed() const { return CProbe::s_iDestroyed - m_iDestroyed; }

    KiteTest::CProbeBridge m_probe;
    int m_iDestroyed = 0;
};

TEST_F(ReentryTest, DestroyFromAGetterWaitsForTheCallToEnd)
{
    // readText answers how many probes were destroyed when its read returned.
    EXPECT_EQ("0", Eval("String(p.readText({ get param_text() { seen.push(destroy(p)); return 'x'; } }) - " +
                        std::to_string(CProbe::s_iDestroyed) + ")"));
    EXPECT_EQ(1, Destroyed());
    EXPECT_EQ("true", Eval("String(seen)"));
    EXPECT_EQ(0u, Bridge::Engine::LiveObjectCount());
    EXPECT_EQ("Error: Attempt to access destroyed JavaScript object.", EvalError("p.argCount()"));
}

TEST_F(ReentryTest, ObjectReadsDestroyedInsideTheCall)
{
    Eval("p.readText(new Proxy({}, { get() {"
         "  seen.push(destroy(p), destroy(p));"
         "  try { p.argCount(); } catch (e) { seen.push(e.message); }"
         "  try { p.onvalue = () => 1; } catch (e) { seen.push(e.message); }"
         "  return 'x'; } }))");
    EXPECT_EQ("true,false,Attempt to access destroyed JavaScript object.,"
              "Attempt to access destroyed JavaScript object.",
              Eval("String(seen)"));
    EXPECT_EQ(1, Destroyed());
}

TEST_F(ReentryTest, NestedCallsKeepTheNativeUntilTheOutermostEnds)
{
    std::string strBefore = std::to_string(CProbe::s_iDestroyed);
    Eval("seen.push(p.readText({ get param_text() {"
         "  seen.push(p.readText({ get param_text() { destroy(p); return 'inner'; } }));"
         "  seen.push(p.argCount === undefined);"
         "  return 'outer'; } }))");
    EXPECT_EQ(strBefore + ",false," + strBefore, Eval("String(seen)"));
    EXPECT_EQ(1, Destroyed());
}

TEST_F(ReentryTest, ThrowingAfterTheDestroyStillDestroysOnce)
{
    EXPECT_EQ("Error: after", EvalError("p.readText({ get param_text() { destroy(p); throw new Error('after'); } })"));
    EXPECT_EQ(1, Destroyed());
    EXPECT_EQ("false", Eval("String(destroy(p))"));
    Bridge::Engine::Detach();
    EXPECT_EQ(1, Destroyed());
}

TEST_F(ReentryTest, OtherObjectsAreDestroyedAtOnce)
{
    Eval("globalThis.q = new Probe()");
    std::string strBefore = std::to_string(CProbe::s_iDestroyed);
    Eval("seen.push(p.readText({ get param_text() { destroy(q); return ''; } }))");
    EXPECT_EQ(std::to_string(CProbe::s_iDestroyed), Eval("String(seen)"));
    EXPECT_EQ(strBefore, std::to_string(CProbe::s_iDestroyed - 1));
    EXPECT_EQ(1u, Bridge::Engine::LiveObjectCount());
}

}  // namespace
