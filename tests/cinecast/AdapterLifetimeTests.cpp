// Construction, destruction and allocation of adapters, and what the
// simulation keeps of them.
#include <atomic>
#include <chrono>
#include <thread>

#include "Cinecast/AdapterBackend.h"
#include "SimAdapterFixture.h"

using namespace DeviceAPI::Cinecast;

namespace {

std::atomic<bool> g_bEntered{false};
std::atomic<bool> g_bFinished{false};

bool SlowCompletion(void*)
{
    g_bEntered = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    g_bFinished = true;
    return true;
}

bool DeleteOwnAdapter(void* pUserData)
{
    delete static_cast<CinecasterAdapter*>(pUserData);
    return true;
}

std::atomic<int> g_iTimes{0};
bool CountTime(unsigned long long, void*)
{
    ++g_iTimes;
    return true;
}

std::size_t g_uNested = 0;
bool EmitOnOwnAdapter(void*)
{
    return Sim::emit(g_uNested, KITE_BRIDGE_PLAY_COMPLETE);
}
bool AnswerTrue(void*)
{
    return true;
}

}  // namespace

TEST(SimLifetimeTest, NumbersAdaptersAndKeepsRecordsAfterDestruction)
{
    std::size_t uFirst = Sim::count();
    std::size_t uAlive = Sim::alive();
    CinecasterAdapter* pA = new (std::nothrow) CinecasterAdapter;
    CinecasterAdapter* pB = new (std::nothrow) CinecasterAdapter;
    ASSERT_TRUE(pA && pB);
    EXPECT_EQ(Sim::count(), uFirst + 2);
    EXPECT_EQ(Sim::alive(), uAlive + 2);
    pA->setUri("a");
    pB->setUri("b");
    delete pA;
    EXPECT_EQ(Sim::count(), uFirst + 2);
    EXPECT_EQ(Sim::alive(), uAlive + 1);
    EXPECT_FALSE(Sim::isAlive(uFirst));
    EXPECT_TRUE(Sim::isAlive(uFirst + 1));
    EXPECT_EQ(Sim::calls(uFirst), std::vector<std::string>{"setUri(\"a\")"});
    EXPECT_EQ(Sim::calls(uFirst + 1), std::vector<std::string>{"setUri(\"b\")"});
    delete pB;
    EXPECT_EQ(Sim::alive(), uAlive);
    // Records of a gone adapter can still be given answers without effect.
    EXPECT_NO_THROW(Sim::answer(uFirst, "play", false));
}

TEST(SimLifetimeTest, DestructorWaitsForARunningHandler)
{
    g_bEntered = false;
    g_bFinished = false;
    std::size_t i = Sim::count();
    CinecasterAdapter* pAdapter = new (std::nothrow) CinecasterAdapter;
    ASSERT_TRUE(pAdapter);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PREPARE_COMPLETE, reinterpret_cast<void*>(&SlowCompletion),
                                         nullptr);
    bool bEmitted = false;
    std::thread emitter([&] { bEmitted = Sim::emit(i, KITE_BRIDGE_PREPARE_COMPLETE); });
    while (!g_bEntered)
        std::this_thread::yield();
    delete pAdapter;
    EXPECT_TRUE(g_bFinished);
    emitter.join();
    EXPECT_TRUE(bEmitted);
}

TEST(SimLifetimeTest, EmitsAfterDestructionAnswerFalse)
{
    std::size_t i = Sim::count();
    CinecasterAdapter* pAdapter = new (std::nothrow) CinecasterAdapter;
    ASSERT_TRUE(pAdapter);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_SEEK_COMPLETE, reinterpret_cast<void*>(&AnswerTrue), nullptr);
    ASSERT_TRUE(Sim::emit(i, KITE_BRIDGE_SEEK_COMPLETE));
    delete pAdapter;
    EXPECT_FALSE(Sim::emit(i, KITE_BRIDGE_SEEK_COMPLETE));
    EXPECT_FALSE(Sim::emitBurst(i, KITE_BRIDGE_SEEK_COMPLETE, 10));
    Sim::drain(i);  // returns at once
}

TEST(SimLifetimeTest, DestructionCutsABurstShort)
{
    g_iTimes = 0;
    std::size_t i = Sim::count();
    CinecasterAdapter* pAdapter = new (std::nothrow) CinecasterAdapter;
    ASSERT_TRUE(pAdapter);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, reinterpret_cast<void*>(&CountTime), nullptr);
    ASSERT_TRUE(Sim::emitBurst(i, KITE_BRIDGE_CURRENT_TIME, 100000000, Sim::Time(1)));
    while (g_iTimes == 0)
        std::this_thread::yield();
    delete pAdapter;
    int iAfterDelete = g_iTimes;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(g_iTimes.load(), iAfterDelete);
    EXPECT_LT(iAfterDelete, 100000000);
}

TEST(SimLifetimeTest, AHandlerMayEndItsOwnAdapter)
{
    std::size_t i = Sim::count();
    CinecasterAdapter* pAdapter = new (std::nothrow) CinecasterAdapter;
    ASSERT_TRUE(pAdapter);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, reinterpret_cast<void*>(&DeleteOwnAdapter),
                                         pAdapter);
    EXPECT_TRUE(Sim::emit(i, KITE_BRIDGE_PLAY_COMPLETE));
    EXPECT_FALSE(Sim::isAlive(i));
    EXPECT_FALSE(Sim::emit(i, KITE_BRIDGE_PLAY_COMPLETE));
}

TEST(SimLifetimeTest, AHandlerMayEmitOnItsOwnAdapter)
{
    g_uNested = Sim::count();
    std::unique_ptr<CinecasterAdapter> pAdapter(new (std::nothrow) CinecasterAdapter);
    ASSERT_TRUE(pAdapter);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_SEEK_COMPLETE, reinterpret_cast<void*>(&EmitOnOwnAdapter),
                                         nullptr);
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, reinterpret_cast<void*>(&AnswerTrue), nullptr);
    EXPECT_TRUE(Sim::emit(g_uNested, KITE_BRIDGE_SEEK_COMPLETE));
}

TEST(SimLifetimeTest, FailNextAllocationFailsExactlyTheNextNothrowNew)
{
    std::size_t uCount = Sim::count();
    Sim::failNextAllocation();
    // The throwing form is not affected and leaves the failure pending.
    std::unique_ptr<CinecasterAdapter> pThrowing(new CinecasterAdapter);
    EXPECT_TRUE(pThrowing);
    CinecasterAdapter* pFailed = new (std::nothrow) CinecasterAdapter;
    EXPECT_EQ(pFailed, nullptr);
    EXPECT_EQ(Sim::count(), uCount + 1);
    std::unique_ptr<CinecasterAdapter> pNext(new (std::nothrow) CinecasterAdapter);
    EXPECT_TRUE(pNext);
    EXPECT_EQ(Sim::count(), uCount + 2);

    FailNextAllocation();
    EXPECT_EQ(new (std::nothrow) CinecasterAdapter, nullptr);
    std::unique_ptr<CinecasterAdapter> pAfter(new (std::nothrow) CinecasterAdapter);
    EXPECT_TRUE(pAfter);
}

namespace {

// A backend of the test's own, to see the factory honoured.
int g_iCustomBackends = 0;
class CCountingBackend : public CAdapterBackend {
public:
    CCountingBackend() { ++g_iCustomBackends; }
    ~CCountingBackend() override { --g_iCustomBackends; }
    bool SetKiteBridge(bool) override { return false; }
    bool create() override { return false; }
    bool setUri(const std::string&) override { return false; }
    bool close() override { return false; }
    bool prepare() override { return false; }
    bool registerPrepareListener(DeviceAPI::Common::MultiCallbackUserData*) override { return false; }
    bool setStreamingProperty(const std::string&, const std::string&) override { return false; }
    bool Pause() override { return false; }
    bool play() override { return true; }
    bool Stop() override { return false; }
    bool seekTo(long, DeviceAPI::Common::MultiCallbackUserData*) override { return false; }
    bool Skip(int, DeviceAPI::Common::MultiCallbackUserData*) override { return false; }
    bool GetDuration(unsigned long*) override { return false; }
    bool GetCurrentPosition(unsigned long long*) override { return false; }
    bool GetPlayerState(player_state_e*) override { return false; }
    bool registerSoundAnalysisListener(CinecastSoundAnalysisCallback*) override { return false; }
    bool suspend() override { return false; }
    bool restore(const std::string&, long, bool) override { return false; }
    bool SetSoundAnalysis(bool) override { return false; }
};
CAdapterBackend* MakeCounting() { return new CCountingBackend(); }
CAdapterBackend* MakeNothing() { return nullptr; }

// Puts the default back even when an assertion fails.
struct CFactoryScope {
    explicit CFactoryScope(BackendFactory factory) { SetBackendFactory(factory); }
    ~CFactoryScope() { SetBackendFactory(nullptr); }
};

}  // namespace

TEST(AdapterFactoryTest, AdaptersUseTheChosenBackendAndDeleteIt)
{
    std::size_t uSimCount = Sim::count();
    {
        CFactoryScope scope(&MakeCounting);
        std::unique_ptr<CinecasterAdapter> pAdapter(new (std::nothrow) CinecasterAdapter);
        ASSERT_TRUE(pAdapter);
        EXPECT_EQ(g_iCustomBackends, 1);
        EXPECT_TRUE(pAdapter->play());
        EXPECT_FALSE(pAdapter->Stop());
        pAdapter.reset();
        EXPECT_EQ(g_iCustomBackends, 0);
    }
    EXPECT_EQ(Sim::count(), uSimCount);
    std::unique_ptr<CinecasterAdapter> pDefault(new (std::nothrow) CinecasterAdapter);
    EXPECT_EQ(Sim::count(), uSimCount + 1);
}

TEST(AdapterFactoryTest, WithoutABackendEveryOperationAnswersFalse)
{
    CFactoryScope scope(&MakeNothing);
    std::unique_ptr<CinecasterAdapter> pAdapter(new (std::nothrow) CinecasterAdapter);
    ASSERT_TRUE(pAdapter);
    unsigned long ulDuration = 5;
    EXPECT_FALSE(pAdapter->SetKiteBridge(true));
    EXPECT_FALSE(pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_BUFFERING, nullptr, nullptr));
    EXPECT_FALSE(pAdapter->play());
    EXPECT_FALSE(pAdapter->GetDuration(&ulDuration));
    EXPECT_EQ(ulDuration, 5u);
}
