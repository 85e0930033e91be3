// The adapter and its simulated player as the plug-in and its tests rely on
// them: every call recorded and answered as told, no handler running once an
// adapter is deleted, and bursts. What the plug-in makes of records, reports
// and each code's event data, that events arrive on the adapter's own thread,
// and one failed allocation on request: tests/tether (and script.fuzz).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstdint>
#include <future>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "Cinecast/AdapterBackend.h"
#include "Cinecast/CinecasterAdapter.h"
#include "Cinecast/SimAdapter.h"

namespace Sim = DeviceAPI::Cinecast::Sim;
using namespace DeviceAPI::Cinecast;

namespace {

template <typename Handler>
void* Untyped(Handler handler)
{
    return reinterpret_cast<void*>(handler);
}

unsigned long g_ulDuration;
unsigned long long g_ullPosition;
player_state_e g_eState;

using A = CinecasterAdapter;
const struct {
    const char* m_pszName;    // as CPlayers::answer spells it
    const char* m_pszRecord;  // as CPlayers::calls shows the call
    bool (*m_pfnCall)(A&);
} g_aOperations[] = {
    {"SetKiteBridge", "SetKiteBridge(true)", [](A& a) { return a.SetKiteBridge(true); }},
    {"create", "create()", [](A& a) { return a.create(); }},
    {"setUri", "setUri(\"http://a/b\")", [](A& a) { return a.setUri("http://a/b"); }},
    {"close", "close()", [](A& a) { return a.close(); }},
    {"prepare", "prepare()", [](A& a) { return a.prepare(); }},
    {"registerPrepareListener", "registerPrepareListener(null)",
     [](A& a) { return a.registerPrepareListener(nullptr); }},
    {"setStreamingProperty", "setStreamingProperty(\"t\",\"\")", [](A& a) { return a.setStreamingProperty("t", ""); }},
    {"Pause", "Pause()", [](A& a) { return a.Pause(); }},
    {"play", "play()", [](A& a) { return a.play(); }},
    {"Stop", "Stop()", [](A& a) { return a.Stop(); }},
    {"seekTo", "seekTo(5000,null)", [](A& a) { return a.seekTo(5000, nullptr); }},
    {"Skip", "Skip(-30,null)", [](A& a) { return a.Skip(-30, nullptr); }},
    {"GetDuration", "GetDuration()", [](A& a) { return a.GetDuration(&g_ulDuration); }},
    {"GetCurrentPosition", "GetCurrentPosition()", [](A& a) { return a.GetCurrentPosition(&g_ullPosition); }},
    {"GetPlayerState", "GetPlayerState()", [](A& a) { return a.GetPlayerState(&g_eState); }},
    {"registerSoundAnalysisListener", "registerSoundAnalysisListener(null)",
     [](A& a) { return a.registerSoundAnalysisListener(nullptr); }},
    {"suspend", "suspend()", [](A& a) { return a.suspend(); }},
    {"restore", "restore(\"u\",250,true)", [](A& a) { return a.restore("u", 250, true); }},
    {"SetSoundAnalysis", "SetSoundAnalysis(false)", [](A& a) { return a.SetSoundAnalysis(false); }},
};

bool AnyCompletion(void*) { return true; }

// Each test numbers its own adapters.
class SimAdapterTest : public ::testing::Test {
protected:
    void SetUp() override { SetBackendFactory(m_players.Factory()); }
    void TearDown() override { SetBackendFactory(nullptr); }

    Sim::CPlayers m_players;
};
using SimLifetimeTest = SimAdapterTest;
using SimEventTest = SimAdapterTest;

}  // namespace

TEST_F(SimAdapterTest, EveryCallIsRecordedAndAnsweredAsTold)
{
    std::size_t i = m_players.count();
    CinecasterAdapter adapter;
    CinecasterAdapter other;
    std::vector<std::string> vecExpected;
    for (const auto& operation : g_aOperations) {
        EXPECT_TRUE(operation.m_pfnCall(adapter)) << operation.m_pszName;
        m_players.answer(i, operation.m_pszName, false);
        EXPECT_FALSE(operation.m_pfnCall(adapter)) << operation.m_pszName;
        EXPECT_TRUE(operation.m_pfnCall(other)) << operation.m_pszName << " of another adapter";
        vecExpected.insert(vecExpected.end(), 2, operation.m_pszRecord);
    }
    m_players.answer(i, "play", true);
    EXPECT_TRUE(adapter.play());
    // long is 32 bits on the TV and 64 on the desktop; only a pointer's presence is recorded.
    int iUserData = 0;
    adapter.seekTo(LONG_MIN, reinterpret_cast<DeviceAPI::Common::MultiCallbackUserData*>(&iUserData));
    adapter.restore("", LONG_MAX, false);
    vecExpected.insert(vecExpected.end(), {"play()", "seekTo(" + std::to_string(LONG_MIN) + ",pointer)",
                                           "restore(\"\"," + std::to_string(LONG_MAX) + ",false)"});

    // Misuse is refused and leaves no record.
    EXPECT_THROW(m_players.answer(i, "Play", false), std::invalid_argument);
    EXPECT_THROW(m_players.answer(i, "RegisterKiteBridgeCallback", false), std::invalid_argument);
    for (int iCode : {-1, static_cast<int>(KITE_BRIDGE_CALLBACK_COUNT)}) {
        auto eCode = static_cast<KiteBridgeCallBack>(iCode);
        EXPECT_FALSE(adapter.RegisterKiteBridgeCallback(eCode, Untyped(&AnyCompletion), nullptr)) << iCode;
        EXPECT_THROW(m_players.emit(i, eCode), std::invalid_argument) << iCode;
    }
    try {
        m_players.calls(2);
        ADD_FAILURE() << "adapter 2 was never made";
    } catch (const std::out_of_range& error) {
        EXPECT_STREQ("no simulated adapter 2 (2 constructed)", error.what());
    }
    EXPECT_EQ(m_players.calls(i), vecExpected);
}

// As when GStreamer cannot start.
TEST_F(SimAdapterTest, WithoutABackendEveryOperationAnswersFalse)
{
    SetBackendFactory(+[]() -> CAdapterBackend* { return nullptr; });
    CinecasterAdapter adapter;
    SetBackendFactory(nullptr);
    EXPECT_FALSE(adapter.RegisterKiteBridgeCallback(KITE_BRIDGE_BUFFERING, Untyped(&AnyCompletion), nullptr));
    for (const auto& operation : g_aOperations)
        EXPECT_FALSE(operation.m_pfnCall(adapter)) << operation.m_pszName;
}

// A host that chose no player: the adapter still works, numbered nowhere.
TEST_F(SimAdapterTest, WithoutAFactoryAnAdapterGetsASimulatedPlayerOfItsOwn)
{
    SetBackendFactory(nullptr);
    CinecasterAdapter adapter;
    EXPECT_TRUE(adapter.create() && adapter.setUri("a.mp4") && adapter.prepare());
    EXPECT_EQ(m_players.count(), 0u);
}

namespace {
std::atomic<int> g_iStarted{0};
std::atomic<int> g_iFinished{0};
bool SlowHandler(unsigned long long, void*)
{
    ++g_iStarted;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    ++g_iFinished;
    return true;
}
}  // namespace

// The plug-in deletes its adapter without unregistering and relies on this.
// An event still waiting behind the burst is dropped, and its emit says so.
TEST_F(SimLifetimeTest, DeletionWaitsForTheRunningHandlerAndNoneRunsAfterIt)
{
    g_iStarted = 0;
    g_iFinished = 0;
    std::size_t i = m_players.count();
    CinecasterAdapter* pAdapter = new CinecasterAdapter;
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, Untyped(&SlowHandler), nullptr);
    ASSERT_TRUE(m_players.emitBurst(i, KITE_BRIDGE_CURRENT_TIME, 1000000));
    while (g_iStarted < 3)
        std::this_thread::yield();
    std::future<bool> waiting = std::async(std::launch::async, [this, i] { return m_players.emit(i, KITE_BRIDGE_CURRENT_TIME); });
    // Long enough for the emit to be queued; had it come after the deletion,
    // it would be refused with the same answer.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    delete pAdapter;
    EXPECT_FALSE(waiting.get()) << "an event dropped at the deletion was reported delivered";
    int iStarted = g_iStarted;
    EXPECT_EQ(g_iFinished.load(), iStarted) << "delete returned while a handler ran";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(g_iStarted.load(), iStarted) << "a handler ran after delete";
    EXPECT_FALSE(m_players.isAlive(i));
}

TEST_F(SimLifetimeTest, AHandlerMayDeleteItsOwnAdapter)
{
    std::size_t i = m_players.count();
    CinecasterAdapter* pAdapter = new CinecasterAdapter;
    pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, Untyped(+[](void* pUserData) {
                                             delete static_cast<CinecasterAdapter*>(pUserData);
                                             return true;
                                         }),
                                         pAdapter);
    EXPECT_TRUE(m_players.emit(i, KITE_BRIDGE_PLAY_COMPLETE));
    EXPECT_FALSE(m_players.isAlive(i));
}

namespace {
std::mutex g_timesLock;
std::vector<unsigned long long> g_vecTimes;
bool KeepTime(unsigned long long ullTime, void*)
{
    std::lock_guard<std::mutex> guard(g_timesLock);
    g_vecTimes.push_back(ullTime);
    return true;
}
unsigned long long SteadyNanos()
{
    return static_cast<unsigned long long>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count());
}
}  // namespace

// The benchmark's latency figures rest on paced, stamped bursts.
TEST_F(SimEventTest, BurstsFireEveryEventAndPacedOnesCarryTheMomentTheyFire)
{
    g_vecTimes.clear();
    std::size_t i = m_players.count();
    CinecasterAdapter adapter;
    adapter.RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, Untyped(&KeepTime), nullptr);
    EXPECT_TRUE(m_players.emitBurst(i, KITE_BRIDGE_CURRENT_TIME, 1000, Sim::Time(7)));
    unsigned long long ullBefore = SteadyNanos();
    EXPECT_TRUE(m_players.emitBurst(i, KITE_BRIDGE_CURRENT_TIME, 5, Sim::ClockTime(), 3000));
    m_players.drain(i);
    unsigned long long ullAfter = SteadyNanos();
    ASSERT_EQ(g_vecTimes.size(), 1005u);
    EXPECT_EQ(std::count(g_vecTimes.begin(), g_vecTimes.begin() + 1000, 7u), 1000);
    EXPECT_TRUE(std::is_sorted(g_vecTimes.begin() + 1000, g_vecTimes.end()));
    EXPECT_GE(g_vecTimes[1000], ullBefore);
    EXPECT_LE(g_vecTimes.back(), ullAfter);
    // The last of five is due four intervals after the burst began.
    EXPECT_GE(g_vecTimes.back() - ullBefore, 4u * 3000000u);
}

namespace {
int g_iTagA, g_iTagB;
std::atomic<int> g_iCalledA{0}, g_iCalledB{0}, g_iMismatched{0};
// Counts its calls, and those that came with another handler's user data.
template <int* TAG, std::atomic<int>* CALLED>
bool CountingHandler(unsigned long long, void* pUserData)
{
    ++*CALLED;
    if (pUserData != TAG)
        ++g_iMismatched;
    return true;
}
}  // namespace

// The player's thread reads the handler table with no lock: a registration
// made meanwhile must never pair one handler with another's user data.
TEST_F(SimEventTest, RegisteringWhileEventsFireNeverMixesTwoHandlers)
{
    std::size_t i = m_players.count();
    {
        CinecasterAdapter adapter;
        adapter.RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, Untyped(&CountingHandler<&g_iTagA, &g_iCalledA>),
                                           &g_iTagA);
        // Events without end until the adapter goes, so that the
        // registrations below meet events however the threads are scheduled.
        ASSERT_TRUE(m_players.emitBurst(i, KITE_BRIDGE_CURRENT_TIME, SIZE_MAX));
        // Each registration waits until an event has met it, so the two keep
        // changing places while the burst runs.
        auto registerAndWait = [&](bool (*handler)(unsigned long long, void*), int* pTag, std::atomic<int>& iCalled) {
            const int iBefore = iCalled;
            adapter.RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, Untyped(handler), pTag);
            while (iCalled == iBefore)
                std::this_thread::yield();
        };
        for (int n = 0; n < 2000; ++n) {
            registerAndWait(&CountingHandler<&g_iTagB, &g_iCalledB>, &g_iTagB, g_iCalledB);
            registerAndWait(&CountingHandler<&g_iTagA, &g_iCalledA>, &g_iTagA, g_iCalledA);
        }
    }
    EXPECT_EQ(g_iMismatched.load(), 0);
}
