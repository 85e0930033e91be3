// Answers and reported values are what the test told the simulation.
#include <climits>
#include <cstring>
#include <stdexcept>

#include "SimAdapterFixture.h"

namespace {
// Read through the bytes: a state outside the enumeration must not be
// loaded as a player_state_e.
int stateAsInt(const player_state_e* peState)
{
    int iState;
    std::memcpy(&iState, peState, sizeof iState);
    return iState;
}
}  // namespace

TEST_F(SimAdapterTest, AnswersTrueUntilToldOtherwisePerOperation)
{
    EXPECT_TRUE(m_pAdapter->play());
    Sim::answer(m_uIndex, "play", false);
    Sim::answer(m_uIndex, "setUri", false);
    EXPECT_FALSE(m_pAdapter->play());
    EXPECT_FALSE(m_pAdapter->setUri("x"));
    EXPECT_TRUE(m_pAdapter->Pause());
    EXPECT_TRUE(m_pAdapter->create());
    Sim::answer(m_uIndex, "play", true);
    EXPECT_TRUE(m_pAdapter->play());
    // A refused call is recorded all the same.
    EXPECT_EQ(Sim::calls(m_uIndex).size(), 6u);
}

TEST_F(SimAdapterTest, EveryAnswerableOperationCanBeRefused)
{
    const char* aszNames[] = {"SetKiteBridge", "create", "setUri", "close", "prepare",
                              "registerPrepareListener", "setStreamingProperty", "Pause", "play", "Stop",
                              "seekTo", "Skip", "GetDuration", "GetCurrentPosition", "GetPlayerState",
                              "registerSoundAnalysisListener", "suspend", "restore", "SetSoundAnalysis"};
    for (const char* szName : aszNames)
        Sim::answer(m_uIndex, szName, false);
    unsigned long ulDuration = 0;
    unsigned long long ullPosition = 0;
    player_state_e eState = PLAYER_STATE_NONE;
    EXPECT_FALSE(m_pAdapter->SetKiteBridge(true));
    EXPECT_FALSE(m_pAdapter->create());
    EXPECT_FALSE(m_pAdapter->setUri("u"));
    EXPECT_FALSE(m_pAdapter->close());
    EXPECT_FALSE(m_pAdapter->prepare());
    EXPECT_FALSE(m_pAdapter->registerPrepareListener(nullptr));
    EXPECT_FALSE(m_pAdapter->setStreamingProperty("a", "b"));
    EXPECT_FALSE(m_pAdapter->Pause());
    EXPECT_FALSE(m_pAdapter->play());
    EXPECT_FALSE(m_pAdapter->Stop());
    EXPECT_FALSE(m_pAdapter->seekTo(1, nullptr));
    EXPECT_FALSE(m_pAdapter->Skip(1, nullptr));
    EXPECT_FALSE(m_pAdapter->GetDuration(&ulDuration));
    EXPECT_FALSE(m_pAdapter->GetCurrentPosition(&ullPosition));
    EXPECT_FALSE(m_pAdapter->GetPlayerState(&eState));
    EXPECT_FALSE(m_pAdapter->registerSoundAnalysisListener(nullptr));
    EXPECT_FALSE(m_pAdapter->suspend());
    EXPECT_FALSE(m_pAdapter->restore("u", 1, false));
    EXPECT_FALSE(m_pAdapter->SetSoundAnalysis(true));
}

TEST_F(SimAdapterTest, AnswersOfOneAdapterLeaveOthersAlone)
{
    std::unique_ptr<CinecasterAdapter> pOther(new (std::nothrow) CinecasterAdapter);
    ASSERT_TRUE(pOther);
    Sim::answer(m_uIndex, "Stop", false);
    EXPECT_FALSE(m_pAdapter->Stop());
    EXPECT_TRUE(pOther->Stop());
}

TEST_F(SimAdapterTest, RejectsUnknownOperationsAndIndexes)
{
    EXPECT_THROW(Sim::answer(m_uIndex, "Play", false), std::invalid_argument);
    EXPECT_THROW(Sim::answer(m_uIndex, "", false), std::invalid_argument);
    EXPECT_THROW(Sim::answer(m_uIndex, "RegisterKiteBridgeCallback", false), std::invalid_argument);
    EXPECT_THROW(Sim::answer(Sim::count(), "play", false), std::out_of_range);
    EXPECT_THROW(Sim::calls(Sim::count()), std::out_of_range);
    EXPECT_THROW(Sim::report(Sim::count(), Sim::CReport()), std::out_of_range);
    EXPECT_THROW(Sim::emit(Sim::count(), DeviceAPI::Cinecast::KITE_BRIDGE_BUFFERING), std::out_of_range);
}

TEST_F(SimAdapterTest, QueriesWriteZeroByDefaultAndWhatWasReported)
{
    unsigned long ulDuration = 99;
    unsigned long long ullPosition = 99;
    player_state_e eState = PLAYER_STATE_PAUSED;
    ASSERT_TRUE(m_pAdapter->GetDuration(&ulDuration));
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullPosition));
    ASSERT_TRUE(m_pAdapter->GetPlayerState(&eState));
    EXPECT_EQ(ulDuration, 0u);
    EXPECT_EQ(ullPosition, 0u);
    EXPECT_EQ(stateAsInt(&eState), 0);

    Sim::CReport stReport;
    stReport.m_ulDuration = ULONG_MAX;
    stReport.m_ullPosition = ULLONG_MAX;
    stReport.m_iState = 3;
    Sim::report(m_uIndex, stReport);
    ASSERT_TRUE(m_pAdapter->GetDuration(&ulDuration));
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullPosition));
    ASSERT_TRUE(m_pAdapter->GetPlayerState(&eState));
    EXPECT_EQ(ulDuration, ULONG_MAX);
    EXPECT_EQ(ullPosition, ULLONG_MAX);
    EXPECT_EQ(eState, PLAYER_STATE_PLAYING);
}

TEST_F(SimAdapterTest, UnsetReportFieldsKeepTheirValues)
{
    Sim::CReport stFirst;
    stFirst.m_ulDuration = 120000;
    stFirst.m_ullPosition = 5000;
    Sim::report(m_uIndex, stFirst);
    Sim::CReport stSecond;
    stSecond.m_ullPosition = 6000;
    Sim::report(m_uIndex, stSecond);
    unsigned long ulDuration = 0;
    unsigned long long ullPosition = 0;
    m_pAdapter->GetDuration(&ulDuration);
    m_pAdapter->GetCurrentPosition(&ullPosition);
    EXPECT_EQ(ulDuration, 120000u);
    EXPECT_EQ(ullPosition, 6000u);
}

TEST_F(SimAdapterTest, ReportsStatesOutsideTheEnumeration)
{
    player_state_e eState = PLAYER_STATE_NONE;
    for (int iState : {7, -1, INT_MIN}) {
        Sim::CReport stReport;
        stReport.m_iState = iState;
        Sim::report(m_uIndex, stReport);
        ASSERT_TRUE(m_pAdapter->GetPlayerState(&eState));
        EXPECT_EQ(stateAsInt(&eState), iState);
    }
}

TEST_F(SimAdapterTest, RefusedQueriesLeaveTheirOutputUntouched)
{
    Sim::CReport stReport;
    stReport.m_ulDuration = 1;
    stReport.m_ullPosition = 2;
    stReport.m_iState = 2;
    Sim::report(m_uIndex, stReport);
    Sim::answer(m_uIndex, "GetDuration", false);
    Sim::answer(m_uIndex, "GetCurrentPosition", false);
    Sim::answer(m_uIndex, "GetPlayerState", false);
    unsigned long ulDuration = 77;
    unsigned long long ullPosition = 78;
    player_state_e eState = PLAYER_STATE_PAUSED;
    EXPECT_FALSE(m_pAdapter->GetDuration(&ulDuration));
    EXPECT_FALSE(m_pAdapter->GetCurrentPosition(&ullPosition));
    EXPECT_FALSE(m_pAdapter->GetPlayerState(&eState));
    EXPECT_EQ(ulDuration, 77u);
    EXPECT_EQ(ullPosition, 78u);
    EXPECT_EQ(eState, PLAYER_STATE_PAUSED);
}
