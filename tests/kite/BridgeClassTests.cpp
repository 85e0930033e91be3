// Script classes built from bridges: the constructor handle and object
// lifetime through the engine. Receivers that routers and setters refuse are
// tested through kite (tests/scripts/kite_routing, kite_setters).
#include <Bridge/Engine.h>
#include <gtest/gtest.h>

#include "Probe.h"
#include "V8Test.h"

namespace {

using KiteTest::CProbe;

class BridgeClassTest : public TestSupport::CV8Test {
protected:
    void SetUp() override
    {
        CV8Test::SetUp();
        m_iLiveBefore = CProbe::s_iLive;
        Bridge::Engine::InstallClass(&m_probe);
        Bridge::Engine::InstallClass(&m_foreign);
    }

    void TearDown() override
    {
        CV8Test::TearDown();
        EXPECT_EQ(m_iLiveBefore, CProbe::s_iLive) << "natives left alive after detach";
    }

    std::size_t UsedGlobalHandles()
    {
        v8::HeapStatistics statistics;
        Isolate()->GetHeapStatistics(&statistics);
        return statistics.used_global_handles_size();
    }

    KiteTest::CProbeBridge m_probe;
    KiteTest::CForeignBridge m_foreign;
    int m_iLiveBefore = 0;
};

TEST_F(BridgeClassTest, ContextReadyAgainKeepsOneConstructorHandle)
{
    ASSERT_TRUE(m_probe.hasConstructor());
    CScope scope(*this);
    std::size_t uAfterFirst = UsedGlobalHandles();
    m_probe.contextReady();
    m_probe.contextReady();
    EXPECT_TRUE(m_probe.hasConstructor());
    EXPECT_EQ(uAfterFirst, UsedGlobalHandles());
}

TEST_F(BridgeClassTest, ContextReadyTakesAHandleOnlyOnce)
{
    KiteTest::CProbeBridge fresh;
    CScope scope(*this);
    fresh.GetConstructorTemplate();
    EXPECT_FALSE(fresh.hasConstructor());
    std::size_t uBefore = UsedGlobalHandles();
    fresh.contextReady();
    std::size_t uAfterFirst = UsedGlobalHandles();
    fresh.contextReady();
    EXPECT_TRUE(fresh.hasConstructor());
    EXPECT_GT(uAfterFirst, uBefore);
    EXPECT_EQ(uAfterFirst, UsedGlobalHandles());
}

TEST_F(BridgeClassTest, ConstructorIsOnTheGlobalUnderTheClassName)
{
    EXPECT_EQ("function", Eval("typeof Probe"));
    EXPECT_EQ("function", Eval("typeof Foreign"));
    EXPECT_EQ("true", Eval("new Probe() instanceof Probe"));
    EXPECT_EQ("TypeError: Class constructor Probe cannot be invoked without 'new'", EvalError("Probe()"));
}

TEST_F(BridgeClassTest, EachConstructionMakesOneNative)
{
    int iLive = CProbe::s_iLive;
    Eval("globalThis.a = new Probe(); globalThis.b = new Probe(1, 'two', {})");
    EXPECT_EQ(iLive + 2, CProbe::s_iLive);
    EXPECT_EQ(2u, Bridge::Engine::LiveObjectCount());
    EXPECT_EQ("3", Eval("b.argCount(1, 2, 3)"));
}

TEST_F(BridgeClassTest, DestroyObjectDestroysTheNativeOnce)
{
    Eval("globalThis.p = new Probe()");
    int iDestroyed = CProbe::s_iDestroyed;
    {
        CScope scope(*this);
        v8::Local<v8::Object> object = Run("p").As<v8::Object>();
        EXPECT_TRUE(Bridge::Engine::DestroyObject(object));
        EXPECT_FALSE(Bridge::Engine::DestroyObject(object));
        EXPECT_FALSE(Bridge::Engine::DestroyObject(Run("({})").As<v8::Object>()));
    }
    EXPECT_EQ(iDestroyed + 1, CProbe::s_iDestroyed);
    EXPECT_EQ(0u, Bridge::Engine::LiveObjectCount());
    EXPECT_EQ("Error: Attempt to access destroyed JavaScript object.", EvalError("p.argCount()"));
    EXPECT_EQ("Error: Attempt to access destroyed JavaScript object.", EvalError("p.onvalue = 1"));
}

TEST_F(BridgeClassTest, CollectGarbageDestroysUnreachableObjects)
{
    Eval("globalThis.kept = new Probe(); (function () { for (let i = 0; i < 5; ++i) new Probe(); })()");
    int iDestroyed = CProbe::s_iDestroyed;
    Bridge::Engine::CollectGarbage(Isolate());
    EXPECT_EQ(iDestroyed + 5, CProbe::s_iDestroyed);
    EXPECT_EQ(1u, Bridge::Engine::LiveObjectCount());
    EXPECT_FALSE(Bridge::Engine::HasCollected());
    EXPECT_EQ("0", Eval("kept.argCount()"));
}

TEST_F(BridgeClassTest, DetachDestroysEveryNativeLeft)
{
    Eval("globalThis.all = [new Probe(), new Probe(), new Foreign()]");
    int iDestroyed = CProbe::s_iDestroyed;
    Bridge::Engine::Detach();
    EXPECT_EQ(iDestroyed + 2, CProbe::s_iDestroyed);
    EXPECT_EQ(0u, Bridge::Engine::LiveObjectCount());
}

}  // namespace
