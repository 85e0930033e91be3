// Script classes built from bridges: the constructor handle and the natives
// behind objects. Construction, refused receivers, destroyed objects and
// collection are tested through kite (tests/scripts/kite_routing,
// kite_lifetime; the kite.run exit tests count the live objects).
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
        Bridge::Engine::InstallClass(&m_probe);
        Bridge::Engine::InstallClass(&m_foreign);
    }

    KiteTest::CProbeBridge m_probe;
    KiteTest::CForeignBridge m_foreign;
};

TEST_F(BridgeClassTest, ContextReadyTakesTheConstructorHandleOnlyOnce)
{
    KiteTest::CProbeBridge fresh;
    CScope scope(*this);
    fresh.GetConstructorTemplate();
    EXPECT_FALSE(fresh.hasConstructor());
    auto usedGlobalHandles = [this] {
        v8::HeapStatistics statistics;
        Isolate()->GetHeapStatistics(&statistics);
        return statistics.used_global_handles_size();
    };
    std::size_t uBefore = usedGlobalHandles();
    fresh.contextReady();
    std::size_t uAfterFirst = usedGlobalHandles();
    fresh.contextReady();
    EXPECT_TRUE(fresh.hasConstructor());
    EXPECT_GT(uAfterFirst, uBefore);
    EXPECT_EQ(uAfterFirst, usedGlobalHandles());
}

TEST_F(BridgeClassTest, DetachDestroysEveryNativeLeft)
{
    Eval("globalThis.all = [new Probe(), new Probe(), new Foreign()]");
    int iLive = CProbe::s_iLive;
    Bridge::Engine::Detach();
    EXPECT_EQ(iLive - 2, CProbe::s_iLive);
    EXPECT_EQ(0u, Bridge::Engine::LiveObjectCount());
}

}  // namespace
