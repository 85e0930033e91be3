// Construction, destruction and allocation of adapters, and what the
// simulation keeps of them.
#include <atomic>
#include <chrono>
#include <thread>

#include "Cinecast/AdapterBackend.h"
#include "SimAdapterFixture.h"

namespace {

std::atomic<bool> g_bEntered{false};
std::atomic<bool> g_bFinished{false};
std::atomic<int> g_iTimes{0};

// A new adapter with pHandler registered under eCode, and its index.
CinecasterAdapter* NewAdapter(std::size_t& uIndex, KiteBridgeCallBack eCode, void* pHandler, void* pUserData = nullptr)
{
    uIndex = Sim::count();
    CinecasterAdapter* pAdapter = new (std::nothrow) CinecasterAdapter;
    if (pAdapter != nullptr)
        pAdapter->RegisterKiteBridgeCallback(eCode, pHandler, pUserData);
    return pAdapter;
}

}  // namespace

TEST(SimLifetimeTest, DestructorWaitsForARunningHandler)
{
    g_bEntered = false;
    g_bFinished = false;
    std::size_t i = 0;
    CinecasterAdapter* pAdapter = NewAdapter(i, KITE_BRIDGE_PREPARE_COMPLETE, Untyped(+[](void*) {
                                                 g_bEntered = true;
                                                 std::this_thread::sleep_for(std::chrono::milliseconds(200));
                                                 g_bFinished = true;
                                                 return true;
                                             }));
    ASSERT_TRUE(pAdapter);
    bool bEmitted = false;
    std::thread emitter([&] { bEmitted = Sim::emit(i, KITE_BRIDGE_PREPARE_COMPLETE); });
    while (!g_bEntered)
        std::this_thread::yield();
    delete pAdapter;
    EXPECT_TRUE(g_bFinished);
    emitter.join();
    EXPECT_TRUE(bEmitted);
}

TEST(SimLifetimeTest, AHandlerMayEndItsOwnAdapterAndLaterEventsAnswerFalse)
{
    std::size_t i = Sim::count();
    CinecasterAdapter* pAdapter = new (std::nothrow) CinecasterAdapter;
    ASSERT_TRUE(pAdapter);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, Untyped(+[](void* pUserData) {
                                             delete static_cast<CinecasterAdapter*>(pUserData);
                                             return true;
                                         }),
                                         pAdapter);
    EXPECT_TRUE(Sim::emit(i, KITE_BRIDGE_PLAY_COMPLETE));
    EXPECT_FALSE(Sim::isAlive(i));
    EXPECT_FALSE(Sim::emit(i, KITE_BRIDGE_PLAY_COMPLETE));
    EXPECT_FALSE(Sim::emitBurst(i, KITE_BRIDGE_PLAY_COMPLETE, 10));
    Sim::drain(i);  // returns at once
}

TEST(SimLifetimeTest, DestructionCutsABurstShort)
{
    g_iTimes = 0;
    std::size_t i = 0;
    CinecasterAdapter* pAdapter = NewAdapter(i, KITE_BRIDGE_CURRENT_TIME, Untyped(+[](unsigned long long, void*) {
                                                 ++g_iTimes;
                                                 return true;
                                             }));
    ASSERT_TRUE(pAdapter);
    ASSERT_TRUE(Sim::emitBurst(i, KITE_BRIDGE_CURRENT_TIME, 100000000, Sim::Time(1)));
    while (g_iTimes == 0)
        std::this_thread::yield();
    delete pAdapter;
    int iAfterDelete = g_iTimes;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(g_iTimes.load(), iAfterDelete);
    EXPECT_LT(iAfterDelete, 100000000);
}

TEST(SimLifetimeTest, AHandlerMayEmitOnItsOwnAdapter)
{
    std::size_t i = 0;
    std::unique_ptr<CinecasterAdapter> pAdapter(NewAdapter(i, KITE_BRIDGE_SEEK_COMPLETE, Untyped(+[](void* pIndex) {
        return Sim::emit(*static_cast<std::size_t*>(pIndex), KITE_BRIDGE_PLAY_COMPLETE);
    }), &i));
    ASSERT_TRUE(pAdapter);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, Untyped(+[](void*) { return true; }), nullptr);
    EXPECT_TRUE(Sim::emit(i, KITE_BRIDGE_SEEK_COMPLETE));
}

TEST(SimLifetimeTest, FailNextAllocationFailsExactlyTheNextNothrowNew)
{
    std::size_t uCount = Sim::count();
    Sim::failNextAllocation();
    // The throwing form is not affected and leaves the failure pending.
    std::unique_ptr<CinecasterAdapter> pThrowing(new CinecasterAdapter);
    EXPECT_EQ(new (std::nothrow) CinecasterAdapter, nullptr);
    EXPECT_EQ(Sim::count(), uCount + 1);
    std::unique_ptr<CinecasterAdapter> pNext(new (std::nothrow) CinecasterAdapter);
    EXPECT_TRUE(pNext);
    EXPECT_EQ(Sim::count(), uCount + 2);
}

namespace {

int g_iMade = 0;
CAdapterBackend* MakeCountedSim()
{
    ++g_iMade;
    return Sim::CreateBackend();
}

// Puts the default back even when an assertion fails.
struct CFactoryScope {
    explicit CFactoryScope(BackendFactory factory) { SetBackendFactory(factory); }
    ~CFactoryScope() { SetBackendFactory(nullptr); }
};

}  // namespace

TEST(AdapterFactoryTest, AdaptersUseTheChosenBackendAndDeleteIt)
{
    g_iMade = 0;
    std::size_t uAlive = Sim::alive();
    {
        CFactoryScope scope(&MakeCountedSim);
        CinecasterAdapter adapter;
        EXPECT_EQ(g_iMade, 1);
        EXPECT_EQ(Sim::alive(), uAlive + 1);
    }
    EXPECT_EQ(Sim::alive(), uAlive);
    CinecasterAdapter byDefault;
    EXPECT_EQ(g_iMade, 1);
}

TEST(AdapterFactoryTest, WithoutABackendEveryOperationAnswersFalse)
{
    CFactoryScope scope(+[]() -> CAdapterBackend* { return nullptr; });
    CinecasterAdapter adapter;
    EXPECT_FALSE(adapter.RegisterKiteBridgeCallback(KITE_BRIDGE_BUFFERING, nullptr, nullptr));
    for (const COperation& operation : AnswerableOperations())
        EXPECT_FALSE(operation.m_pfnCall(adapter)) << operation.m_pszName;
    unsigned long ulDuration = 5;
    EXPECT_FALSE(adapter.GetDuration(&ulDuration));
    EXPECT_EQ(ulDuration, 5u);
}
