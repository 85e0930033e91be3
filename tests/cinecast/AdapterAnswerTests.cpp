// Answers and reported values are what the test told the simulation.
#include <climits>
#include <cstring>
#include <stdexcept>
#include <tuple>

#include "SimAdapterFixture.h"

namespace {
bool AnyHandler(void*) { return true; }
}  // namespace

TEST_F(SimAdapterTest, EachOperationAnswersTrueUntilToldOtherwise)
{
    // Each operation is refused in turn; the ones after it still answer true.
    // Refused calls are recorded all the same, in call order.
    std::vector<std::string> vecExpected;
    for (const COperation& operation : AnswerableOperations()) {
        EXPECT_TRUE(operation.m_pfnCall(*m_pAdapter)) << operation.m_pszName;
        Sim::answer(m_uIndex, operation.m_pszName, false);
        EXPECT_FALSE(operation.m_pfnCall(*m_pAdapter)) << operation.m_pszName;
        vecExpected.insert(vecExpected.end(), 2, operation.m_pszRecord);
    }
    Sim::answer(m_uIndex, "play", true);
    EXPECT_TRUE(m_pAdapter->play());
    // Integers at their limits: long is 32 bits on the TV and 64 on the desktop.
    int iDummy = 0;
    m_pAdapter->seekTo(LONG_MIN, reinterpret_cast<DeviceAPI::Common::MultiCallbackUserData*>(&iDummy));
    m_pAdapter->restore("", LONG_MAX, false);
    vecExpected.insert(vecExpected.end(), {"play()", "seekTo(" + std::to_string(LONG_MIN) + ",pointer)",
                                           "restore(\"\"," + std::to_string(LONG_MAX) + ",false)"});
    EXPECT_EQ(Sim::calls(m_uIndex), vecExpected);
    // Another adapter keeps its own answers.
    CinecasterAdapter other;
    EXPECT_TRUE(other.Stop());
}

TEST_F(SimAdapterTest, RejectsUnknownOperationsCodesAndIndexes)
{
    EXPECT_THROW(Sim::answer(m_uIndex, "Play", false), std::invalid_argument);
    EXPECT_THROW(Sim::answer(m_uIndex, "RegisterKiteBridgeCallback", false), std::invalid_argument);
    for (int iCode : {-1, 9}) {
        EXPECT_FALSE(m_pAdapter->RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(iCode),
                                                            reinterpret_cast<void*>(&AnyHandler), nullptr));
        EXPECT_THROW(Sim::emit(m_uIndex, static_cast<KiteBridgeCallBack>(iCode)), std::invalid_argument);
        EXPECT_THROW(Sim::emitBurst(m_uIndex, static_cast<KiteBridgeCallBack>(iCode), 1), std::invalid_argument);
    }
    EXPECT_TRUE(Sim::calls(m_uIndex).empty());  // refused registrations leave no record
    EXPECT_THROW(Sim::answer(Sim::count(), "play", false), std::out_of_range);
    EXPECT_THROW(Sim::calls(Sim::count()), std::out_of_range);
    EXPECT_THROW(Sim::report(Sim::count(), Sim::CReport()), std::out_of_range);
    EXPECT_THROW(Sim::emit(Sim::count(), KITE_BRIDGE_BUFFERING), std::out_of_range);
}

TEST_F(SimAdapterTest, QueriesWriteWhatWasReported)
{
    unsigned long ulDuration = 99;
    unsigned long long ullPosition = 99;
    player_state_e eState = PLAYER_STATE_PAUSED;
    // The state is read through its bytes: it may lie outside the enumeration.
    auto queried = [&] {
        EXPECT_TRUE(m_pAdapter->GetDuration(&ulDuration) && m_pAdapter->GetCurrentPosition(&ullPosition) &&
                    m_pAdapter->GetPlayerState(&eState));
        int iState;
        std::memcpy(&iState, &eState, sizeof iState);
        return std::make_tuple(ulDuration, ullPosition, iState);
    };
    EXPECT_EQ(queried(), std::make_tuple(0ul, 0ull, 0));

    Sim::CReport stReport;
    stReport.m_ulDuration = ULONG_MAX;
    stReport.m_ullPosition = ULLONG_MAX;
    stReport.m_iState = PLAYER_STATE_PLAYING;
    Sim::report(m_uIndex, stReport);
    EXPECT_EQ(queried(), std::make_tuple(ULONG_MAX, ULLONG_MAX, 3));
    // Unset fields keep their values.
    Sim::CReport stState;
    stState.m_iState = INT_MIN;
    Sim::report(m_uIndex, stState);
    EXPECT_EQ(queried(), std::make_tuple(ULONG_MAX, ULLONG_MAX, INT_MIN));

    // Refused queries leave their output alone.
    Sim::answer(m_uIndex, "GetDuration", false);
    Sim::answer(m_uIndex, "GetCurrentPosition", false);
    Sim::answer(m_uIndex, "GetPlayerState", false);
    ulDuration = 77;
    ullPosition = 78;
    eState = PLAYER_STATE_PAUSED;
    EXPECT_FALSE(m_pAdapter->GetDuration(&ulDuration));
    EXPECT_FALSE(m_pAdapter->GetCurrentPosition(&ullPosition));
    EXPECT_FALSE(m_pAdapter->GetPlayerState(&eState));
    EXPECT_EQ(std::make_tuple(ulDuration, ullPosition, eState), std::make_tuple(77ul, 78ull, PLAYER_STATE_PAUSED));
}
