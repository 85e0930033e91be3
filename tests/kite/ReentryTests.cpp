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
        {
            CScope scope(*this);
            SetGlobal("destroy", Destroy);
        }
        Eval("globalThis.p = new Probe(); globalThis.seen = []");
        m_iDestroyed = CProbe::s_iDestroyed;
    }

    // Probes destroyed since SetUp.
    int Destroyed() const { return CProbe::s_iDestroyed - m_iDestroyed; }

    KiteTest::CProbeBridge m_probe;
    int m_iDestroyed = 0;
};

TEST_F(ReentryTest, ObjectReadsDestroyedAtOnceAndItsNativeGoesAfterTheCall)
{
    // readText answers how many probes were destroyed when its read returned.
    Eval("seen.push(p.readText(new Proxy({}, { get() {"
         "  seen.push(destroy(p), destroy(p));"
         "  try { p.argCount(); } catch (e) { seen.push(e.message); }"
         "  try { p.onvalue = () => 1; } catch (e) { seen.push(e.message); }"
         "  return 'x'; } })))");
    const std::string strDestroyed = "Attempt to access destroyed JavaScript object.";
    EXPECT_EQ("true,false," + strDestroyed + "," + strDestroyed + "," + std::to_string(m_iDestroyed),
              Eval("String(seen)"));
    EXPECT_EQ(1, Destroyed());
    EXPECT_EQ(0u, Bridge::Engine::LiveObjectCount());
    EXPECT_EQ("Error: " + strDestroyed, EvalError("p.argCount()"));
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
    Eval("seen.push(p.readText({ get param_text() { destroy(q); return ''; } }))");
    EXPECT_EQ(std::to_string(m_iDestroyed + 1), Eval("String(seen)"));
    EXPECT_EQ(1, Destroyed());
    EXPECT_EQ(1u, Bridge::Engine::LiveObjectCount());
}

}  // namespace
