// Events reach the registered handlers on the adapter's own thread, with the
// data and user data the test asked for. Every code's data through the
// plug-in to a script: tests/scripts/events.test.js.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "SimAdapterFixture.h"

namespace {

// What the last handler call saw, as text, and where it ran.
struct CSeen {
    std::string m_strWhat;
    std::thread::id m_threadId;
    void* m_pUserData = nullptr;
};
std::mutex g_seenLock;
CSeen g_seen;
std::atomic<bool> g_bAnswer{true};

CSeen Seen()
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    return g_seen;
}

bool Note(void* pUserData, const std::string& strWhat)
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    g_seen = CSeen{strWhat, std::this_thread::get_id(), pUserData};
    return g_bAnswer;
}

bool OnBuffering(int iPercent, void* pUserData) { return Note(pUserData, "buffering " + std::to_string(iPercent)); }
template <int CODE>
bool OnCompletion(void* pUserData) { return Note(pUserData, "completion " + std::to_string(CODE)); }
bool OnTime(unsigned long long ullTime, void* pUserData) { return Note(pUserData, "time " + std::to_string(ullTime)); }
template <int CODE>
bool OnEvent(KiteBridgeEvent* pEvent, void* pUserData)
{
    return Note(pUserData, "event " + std::to_string(CODE) +
                               (pEvent ? " " + std::to_string(pEvent->type) + " [" + pEvent->param1 + "] [" +
                                             pEvent->param2 + "]"
                                       : " null"));
}
bool OnBands(const int* pBands, int iCount, void* pUserData)
{
    std::string strWhat = "bands " + std::to_string(iCount) + (pBands ? ":" : " null");
    for (int i = 0; pBands != nullptr && i < iCount; ++i)
        strWhat += " " + std::to_string(pBands[i]);
    return Note(pUserData, strWhat);
}

class SimEventTest : public SimAdapterTest {
protected:
    void SetUp() override
    {
        SimAdapterTest::SetUp();
        Note(nullptr, "nothing");
        g_bAnswer = true;
    }

    int m_iUserData = 42;
};

}  // namespace

TEST_F(SimEventTest, EachCodeReachesItsHandlerWithItsDataOnTheAdaptersThread)
{
    void* apHandlers[] = {Untyped(&OnBuffering),    Untyped(&OnCompletion<1>), Untyped(&OnCompletion<2>),
                          Untyped(&OnCompletion<3>), Untyped(&OnTime),          Untyped(&OnEvent<5>),
                          Untyped(&OnEvent<6>),      Untyped(&OnEvent<7>),      Untyped(&OnBands)};
    for (int iCode = 0; iCode < KITE_BRIDGE_CALLBACK_COUNT; ++iCode)
        ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(iCode), apHandlers[iCode],
                                                           &m_iUserData));
    const struct {
        KiteBridgeCallBack eCode;
        Sim::CEventData data;
        const char* pszSeen;
    } aCases[] = {
        {KITE_BRIDGE_BUFFERING, Sim::Percent(-5), "buffering -5"},
        {KITE_BRIDGE_PREPARE_COMPLETE, {}, "completion 1"},
        {KITE_BRIDGE_SEEK_COMPLETE, {}, "completion 3"},
        {KITE_BRIDGE_CURRENT_TIME, Sim::Time(~0ULL), "time 18446744073709551615"},
        {KITE_BRIDGE_ERROR_EVENT, Sim::Event(65, "a,b", ""), "event 5 65 [a,b] []"},
        {KITE_BRIDGE_ASM_PAUSE, Sim::NullEvent(), "event 6 null"},
        {KITE_BRIDGE_ASM_RESUME, Sim::Event(-1, "x", "y"), "event 7 -1 [x] [y]"},
        {KITE_BRIDGE_SOUND_ANALYSIS, Sim::Bands({}), "bands 0:"},  // no bands is not null bands
        {KITE_BRIDGE_SOUND_ANALYSIS, Sim::NullBands(), "bands 0 null"},
        // For this one event only, the handler gets null user data.
        {KITE_BRIDGE_SOUND_ANALYSIS, Sim::WithNullUserData(Sim::Bands({1})), "bands 1: 1"},
        {KITE_BRIDGE_SEEK_COMPLETE, {}, "completion 3"},
    };
    std::thread::id eventThread;
    for (const auto& c : aCases) {
        EXPECT_TRUE(Sim::emit(m_uIndex, c.eCode, c.data)) << c.pszSeen;
        CSeen seen = Seen();
        EXPECT_EQ(seen.m_strWhat, c.pszSeen);
        EXPECT_EQ(seen.m_pUserData, c.data.m_bNullUserData ? nullptr : &m_iUserData);
        EXPECT_NE(seen.m_threadId, std::this_thread::get_id());
        if (eventThread == std::thread::id())
            eventThread = seen.m_threadId;
        EXPECT_EQ(seen.m_threadId, eventThread) << "one thread per adapter";
    }
    g_bAnswer = false;
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_PLAY_COMPLETE));  // the handler's answer
    EXPECT_EQ(Seen().m_strWhat, "completion 2");

    CinecasterAdapter other;
    ASSERT_TRUE(other.RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, Untyped(&OnCompletion<2>), nullptr));
    Sim::emit(m_uIndex + 1, KITE_BRIDGE_PLAY_COMPLETE);
    EXPECT_NE(Seen().m_threadId, eventThread);
    EXPECT_NE(Seen().m_threadId, std::this_thread::get_id());
}

TEST_F(SimEventTest, WithoutAHandlerEmitAnswersFalseAndCallsNothing)
{
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, Untyped(&OnCompletion<2>), nullptr));
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_PREPARE_COMPLETE));
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_SOUND_ANALYSIS, Sim::Bands({1})));
    // Registering null takes the handler away again.
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, nullptr, nullptr));
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_PLAY_COMPLETE));
    EXPECT_EQ(Seen().m_strWhat, "nothing");
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

TEST_F(SimEventTest, BurstsFireEveryEventPacedOrNotAndDrainWaitsForThem)
{
    g_vecTimes.clear();
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, Untyped(&KeepTime), nullptr));
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 5000, Sim::Time(7)));
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 1000, Sim::Time(8)));
    Sim::drain(m_uIndex);
    ASSERT_EQ(g_vecTimes.size(), 6000u);
    EXPECT_EQ(std::count(g_vecTimes.begin(), g_vecTimes.begin() + 5000, 7u), 5000);
    EXPECT_EQ(std::count(g_vecTimes.begin() + 5000, g_vecTimes.end(), 8u), 1000);

    // Paced clock times carry the moment they are fired.
    g_vecTimes.clear();
    unsigned long long ullBefore = SteadyNanos();
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 5, Sim::ClockTime(), 3000));
    Sim::drain(m_uIndex);
    unsigned long long ullAfter = SteadyNanos();
    ASSERT_EQ(g_vecTimes.size(), 5u);
    EXPECT_TRUE(std::is_sorted(g_vecTimes.begin(), g_vecTimes.end()));
    EXPECT_GE(g_vecTimes.front(), ullBefore);
    EXPECT_LE(g_vecTimes.back(), ullAfter);
    // The last of five is due four intervals after the burst began.
    EXPECT_GE(g_vecTimes.back() - ullBefore, 4u * 3000000u);
    // A plain time is passed as given, paced or not.
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 2, Sim::Time(42), 1000));
    Sim::drain(m_uIndex);
    EXPECT_EQ(std::vector<unsigned long long>(g_vecTimes.begin() + 5, g_vecTimes.end()),
              (std::vector<unsigned long long>{42, 42}));
}
