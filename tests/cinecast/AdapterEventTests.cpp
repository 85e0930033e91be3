// Events reach the registered handlers on the adapter's own thread, with the
// data and user data the test asked for.
#include <algorithm>
#include <chrono>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

#include "SimAdapterFixture.h"

using namespace DeviceAPI::Cinecast;

namespace {

// What the last handler call saw; handlers are plain functions.
struct CSeenData {
    int m_iCode = -1;
    std::thread::id m_threadId;
    void* m_pUserData = nullptr;
    int m_iPercent = 0;
    unsigned long long m_ullTime = 0;
    bool m_bNullEvent = false;
    KiteBridgeEvent m_stEvent{0, "", ""};
    bool m_bNullBands = false;
    std::vector<int> m_aBands;
    int m_iCount = -1;
    bool m_bAnswer = true;
};
std::mutex g_seenLock;
CSeenData g_seen;

CSeenData seen()
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    return g_seen;
}

void note(int iCode, void* pUserData)
{
    g_seen.m_iCode = iCode;
    g_seen.m_threadId = std::this_thread::get_id();
    g_seen.m_pUserData = pUserData;
}

bool OnBuffering(int iPercent, void* pUserData)
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    note(KITE_BRIDGE_BUFFERING, pUserData);
    g_seen.m_iPercent = iPercent;
    return g_seen.m_bAnswer;
}

template <int CODE>
bool OnCompletion(void* pUserData)
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    note(CODE, pUserData);
    return g_seen.m_bAnswer;
}

bool OnTime(unsigned long long ullTime, void* pUserData)
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    note(KITE_BRIDGE_CURRENT_TIME, pUserData);
    g_seen.m_ullTime = ullTime;
    return g_seen.m_bAnswer;
}

template <int CODE>
bool OnEvent(KiteBridgeEvent* pEvent, void* pUserData)
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    note(CODE, pUserData);
    g_seen.m_bNullEvent = pEvent == nullptr;
    if (pEvent)
        g_seen.m_stEvent = *pEvent;
    return g_seen.m_bAnswer;
}

bool OnBands(const int* pBands, int iCount, void* pUserData)
{
    std::lock_guard<std::mutex> guard(g_seenLock);
    note(KITE_BRIDGE_SOUND_ANALYSIS, pUserData);
    g_seen.m_bNullBands = pBands == nullptr;
    g_seen.m_aBands.clear();
    if (pBands)
        g_seen.m_aBands.assign(pBands, pBands + iCount);
    g_seen.m_iCount = iCount;
    return g_seen.m_bAnswer;
}

template <typename Handler>
void* untyped(Handler handler)
{
    return reinterpret_cast<void*>(handler);
}

class SimEventTest : public SimAdapterTest {
protected:
    void SetUp() override
    {
        SimAdapterTest::SetUp();
        std::lock_guard<std::mutex> guard(g_seenLock);
        g_seen = CSeenData();
    }

    void registerAll()
    {
        void* aHandlers[] = {untyped(&OnBuffering),   untyped(&OnCompletion<1>), untyped(&OnCompletion<2>),
                             untyped(&OnCompletion<3>), untyped(&OnTime),        untyped(&OnEvent<5>),
                             untyped(&OnEvent<6>),    untyped(&OnEvent<7>),      untyped(&OnBands)};
        for (int iCode = 0; iCode < KITE_BRIDGE_CALLBACK_COUNT; ++iCode)
            ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(iCode),
                                                               aHandlers[iCode], &m_iUserData));
    }

    int m_iUserData = 42;
};

}  // namespace

TEST_F(SimEventTest, EachCodeReachesItsHandlerOnAnotherThreadWithItsUserData)
{
    registerAll();
    for (int iCode = 0; iCode < KITE_BRIDGE_CALLBACK_COUNT; ++iCode) {
        ASSERT_TRUE(Sim::emit(m_uIndex, static_cast<KiteBridgeCallBack>(iCode))) << "code " << iCode;
        CSeenData stSeen = seen();
        EXPECT_EQ(stSeen.m_iCode, iCode);
        EXPECT_NE(stSeen.m_threadId, std::this_thread::get_id());
        EXPECT_EQ(stSeen.m_pUserData, &m_iUserData);
    }
}

TEST_F(SimEventTest, OneAdapterFiresFromOneThreadAndAnotherFromItsOwn)
{
    registerAll();
    ASSERT_TRUE(Sim::emit(m_uIndex, KITE_BRIDGE_PLAY_COMPLETE));
    std::thread::id firstId = seen().m_threadId;
    ASSERT_TRUE(Sim::emit(m_uIndex, KITE_BRIDGE_SEEK_COMPLETE));
    EXPECT_EQ(seen().m_threadId, firstId);

    std::unique_ptr<CinecasterAdapter> pOther(new (std::nothrow) CinecasterAdapter);
    ASSERT_TRUE(pOther);
    ASSERT_TRUE(pOther->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, untyped(&OnCompletion<2>), nullptr));
    ASSERT_TRUE(Sim::emit(m_uIndex + 1, KITE_BRIDGE_PLAY_COMPLETE));
    EXPECT_NE(seen().m_threadId, firstId);
    EXPECT_NE(seen().m_threadId, std::this_thread::get_id());
}

TEST_F(SimEventTest, HandlersReceiveTheDataOfTheirCode)
{
    registerAll();
    Sim::emit(m_uIndex, KITE_BRIDGE_BUFFERING, Sim::Percent(-5));
    EXPECT_EQ(seen().m_iPercent, -5);

    Sim::emit(m_uIndex, KITE_BRIDGE_CURRENT_TIME, Sim::Time(4294967301ULL));
    EXPECT_EQ(seen().m_ullTime, 4294967301ULL);
    Sim::emit(m_uIndex, KITE_BRIDGE_CURRENT_TIME, Sim::Time(~0ULL));
    EXPECT_EQ(seen().m_ullTime, ~0ULL);

    Sim::emit(m_uIndex, KITE_BRIDGE_ASM_PAUSE, Sim::Event(65, "a,b", ""));
    CSeenData stSeen = seen();
    EXPECT_EQ(stSeen.m_iCode, KITE_BRIDGE_ASM_PAUSE);
    EXPECT_FALSE(stSeen.m_bNullEvent);
    EXPECT_EQ(stSeen.m_stEvent.type, 65);
    EXPECT_EQ(stSeen.m_stEvent.param1, "a,b");
    EXPECT_EQ(stSeen.m_stEvent.param2, "");

    Sim::emit(m_uIndex, KITE_BRIDGE_ERROR_EVENT, Sim::NullEvent());
    EXPECT_TRUE(seen().m_bNullEvent);

    Sim::emit(m_uIndex, KITE_BRIDGE_SOUND_ANALYSIS, Sim::Bands({3, -1, 12}));
    stSeen = seen();
    EXPECT_EQ(stSeen.m_iCount, 3);
    EXPECT_EQ(stSeen.m_aBands, (std::vector<int>{3, -1, 12}));

    // No bands is not null bands.
    Sim::emit(m_uIndex, KITE_BRIDGE_SOUND_ANALYSIS, Sim::Bands({}));
    stSeen = seen();
    EXPECT_FALSE(stSeen.m_bNullBands);
    EXPECT_EQ(stSeen.m_iCount, 0);

    Sim::emit(m_uIndex, KITE_BRIDGE_SOUND_ANALYSIS, Sim::NullBands());
    EXPECT_TRUE(seen().m_bNullBands);
}

TEST_F(SimEventTest, NullUserDataReplacesTheRegisteredOneForThatEventOnly)
{
    registerAll();
    ASSERT_TRUE(Sim::emit(m_uIndex, KITE_BRIDGE_SEEK_COMPLETE, Sim::WithNullUserData(Sim::CEventData())));
    EXPECT_EQ(seen().m_pUserData, nullptr);
    ASSERT_TRUE(Sim::emit(m_uIndex, KITE_BRIDGE_SOUND_ANALYSIS, Sim::WithNullUserData(Sim::Bands({1}))));
    EXPECT_EQ(seen().m_pUserData, nullptr);
    EXPECT_EQ(seen().m_aBands, std::vector<int>{1});
    ASSERT_TRUE(Sim::emit(m_uIndex, KITE_BRIDGE_SEEK_COMPLETE));
    EXPECT_EQ(seen().m_pUserData, &m_iUserData);
}

TEST_F(SimEventTest, EmitReturnsTheHandlersAnswer)
{
    registerAll();
    {
        std::lock_guard<std::mutex> guard(g_seenLock);
        g_seen.m_bAnswer = false;
    }
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_BUFFERING, Sim::Percent(1)));
    EXPECT_EQ(seen().m_iCode, KITE_BRIDGE_BUFFERING);
}

TEST_F(SimEventTest, WithoutAHandlerEmitAnswersFalseAndCallsNothing)
{
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, untyped(&OnCompletion<2>), nullptr));
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_PREPARE_COMPLETE));
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_SOUND_ANALYSIS, Sim::Bands({1})));
    EXPECT_EQ(seen().m_iCode, -1);

    // Registering null takes the handler away again.
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_PLAY_COMPLETE, nullptr, nullptr));
    EXPECT_FALSE(Sim::emit(m_uIndex, KITE_BRIDGE_PLAY_COMPLETE));
    EXPECT_EQ(seen().m_iCode, -1);
}

TEST_F(SimEventTest, RejectsCodesOutsideTheTable)
{
    EXPECT_THROW(Sim::emit(m_uIndex, static_cast<KiteBridgeCallBack>(9)), std::invalid_argument);
    EXPECT_THROW(Sim::emit(m_uIndex, static_cast<KiteBridgeCallBack>(-1)), std::invalid_argument);
    EXPECT_THROW(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CALLBACK_COUNT, 1), std::invalid_argument);
}

namespace {
std::atomic<int> g_iBurstSeen{0};
bool CountTime(unsigned long long, void*)
{
    ++g_iBurstSeen;
    return true;
}
}  // namespace

TEST_F(SimEventTest, BurstFiresEveryEventAndDrainWaitsForThem)
{
    g_iBurstSeen = 0;
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, untyped(&CountTime), nullptr));
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 5000, Sim::Time(7)));
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 1000, Sim::Time(8)));
    Sim::drain(m_uIndex);
    EXPECT_EQ(g_iBurstSeen.load(), 6000);
}

namespace {
std::mutex g_timesLock;
std::vector<unsigned long long> g_aTimes;
bool KeepTime(unsigned long long ullTime, void*)
{
    std::lock_guard<std::mutex> guard(g_timesLock);
    g_aTimes.push_back(ullTime);
    return true;
}
unsigned long long SteadyNanos()
{
    return static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
        std::chrono::steady_clock::now().time_since_epoch()).count());
}
}  // namespace

TEST_F(SimEventTest, ClockTimeEventsCarryTheMomentTheyAreFired)
{
    g_aTimes.clear();
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, untyped(&KeepTime), nullptr));
    unsigned long long ullBefore = SteadyNanos();
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 100, Sim::ClockTime()));
    Sim::drain(m_uIndex);
    unsigned long long ullAfter = SteadyNanos();
    ASSERT_EQ(g_aTimes.size(), 100u);
    EXPECT_GE(g_aTimes.front(), ullBefore);
    EXPECT_LE(g_aTimes.back(), ullAfter);
    EXPECT_TRUE(std::is_sorted(g_aTimes.begin(), g_aTimes.end()));
}

TEST_F(SimEventTest, APacedBurstFiresOneEventPerInterval)
{
    g_aTimes.clear();
    ASSERT_TRUE(m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_CURRENT_TIME, untyped(&KeepTime), nullptr));
    unsigned long long ullBefore = SteadyNanos();
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 5, Sim::ClockTime(), 3000));
    Sim::drain(m_uIndex);
    ASSERT_EQ(g_aTimes.size(), 5u);
    // The last of five is due four intervals after the burst began.
    EXPECT_GE(g_aTimes.back() - ullBefore, 4u * 3000000u);
    // A plain time is passed as given, paced or not.
    EXPECT_TRUE(Sim::emitBurst(m_uIndex, KITE_BRIDGE_CURRENT_TIME, 2, Sim::Time(42), 1000));
    Sim::drain(m_uIndex);
    ASSERT_EQ(g_aTimes.size(), 7u);
    EXPECT_EQ(g_aTimes[5], 42u);
    EXPECT_EQ(g_aTimes[6], 42u);
}
