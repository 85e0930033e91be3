// Whole log lines of representative command paths: priority, tag, frame
// (file, function, line of the call, thread id) and payload, in order.
#include <cstdio>

#include "AgentTest.h"

namespace TetherTest {
namespace {

const char* const ENTER = "LOG_ENTER()";
const char* const LEAVE = "LOG_LEAVE()";
const char* const RESULT = "ErrorCode[%d]\"";
const char* const RESULT_INT = "IntVal[%d]\"";
const char* const PARAM_LENGTH = "param length is %d";
const char* const NEED_ONE = "Invalid param. aArgs.Length() < 1 ";

class CAgentLogTest : public CAgentTest {
protected:
    void SetUp() override
    {
        CAgentTest::SetUp();
        m_pAgent = NewAgent(&m_uAdapter);
        TakeLines();
    }
    void TearDown() override
    {
        m_pAgent.reset();
        CAgentTest::TearDown();
    }

    std::vector<CExpectedLine> Path(const char* szFile, const char* szFunction,
                                    std::initializer_list<CExpectedCall> aCalls)
    {
        return ExpectedPath(szFile, szFunction, ThisThreadId(), aCalls);
    }

    std::unique_ptr<Tether::CPlayerAgent> m_pAgent;
    std::size_t m_uAdapter = 0;
};

TEST_F(CAgentLogTest, ConstructionEnablesTheBridgeAndRegistersNineHandlersInCodeOrder)
{
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    EXPECT_EQ(TakeLines(), Path("PlayerAgent.cpp", "CPlayerAgent",
                                {{"SetKiteBridge as true", 3, "SetKiteBridge as true!!!"},
                                 {"RegisterKiteBridgeCallback Buffering_CB", 3,
                                  "RegisterKiteBridgeCallback Buffering_CB !!!"}}));
    std::vector<std::string> vecExpected = {"SetKiteBridge(true)"};
    for (int i = 0; i < 9; ++i)
        vecExpected.push_back("RegisterKiteBridgeCallback(" + std::to_string(i) + ")");
    EXPECT_EQ(Sim::calls(uAdapter), vecExpected);
}

TEST_F(CAgentLogTest, DestructionBracketsTheAdapterWithTheAgentsAddress)
{
    char szAddress[32];
    std::snprintf(szAddress, sizeof szAddress, "%p", static_cast<void*>(m_pAgent.get()));
    m_pAgent.reset();
    EXPECT_FALSE(Sim::isAlive(m_uAdapter));
    EXPECT_EQ(TakeLines(),
              Path("PlayerAgent.cpp", "~CPlayerAgent",
                   {{"Start to destroy", 5, std::string("Start to destroy CPlayerAgent[") + szAddress + "]."},
                    {"End to destroy", 5, std::string("End to destroy CPlayerAgent[") + szAddress + "]."}}));
}

TEST_F(CAgentLogTest, LifecycleCommands)
{
    CScope scope(*this);
    m_pAgent->SetURI(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgent.cpp", "SetURI",
                                {{ENTER, 3, "ENTER!!!"},
                                 {PARAM_LENGTH, 4, "param length is 0"},
                                 {NEED_ONE, 5, NEED_ONE},
                                 {RESULT, 5, "strCmd[player_set_uri] ErrorCode[-2]"}}));

    Sim::answer(m_uAdapter, "setUri", false);
    m_pAgent->SetURI(Args("[{param_url: 'http://a/b.mp4'}, 7]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgent.cpp", "SetURI",
                                {{ENTER, 3, "ENTER!!!"},
                                 {PARAM_LENGTH, 4, "param length is 2"},
                                 {"Get the URL is", 5, "Get the URL is http://a/b.mp4!!!"},
                                 {"open failed", 5, "m_pCinecasterAdapter->open failed!!!"},
                                 {RESULT, 5, "strCmd[player_set_uri] ErrorCode[-1]"}}));

    m_pAgent->Close(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgent.cpp", "Close",
                                {{ENTER, 3, "ENTER!!!"},
                                 {LEAVE, 3, "LEAVE!!!"},
                                 {RESULT, 5, "strCmd[player_close] ErrorCode[0]"}}));

    Sim::answer(m_uAdapter, "create", false);
    m_pAgent->Create(Args("[1, 2, 3]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgent.cpp", "Create",
                                {{ENTER, 3, "ENTER!!!"},
                                 {PARAM_LENGTH, 4, "param length is 3"},
                                 {RESULT, 5, "strCmd[player_create] ErrorCode[-1]"}}));
}

TEST_F(CAgentLogTest, TransportCommands)
{
    CScope scope(*this);
    m_pAgent->Prepare(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "Prepare",
                                {{ENTER, 3, "ENTER!!!"},
                                 {RESULT, 5, "strCmd[player_prepare] ErrorCode[0]"}}));

    m_pAgent->Pause(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "Pause",
                                {{ENTER, 3, "ENTER!!!"},
                                 {LEAVE, 3, "LEAVE!!!"},
                                 {RESULT, 5, "strCmd[player_pause] ErrorCode[0]"}}));

    Sim::answer(m_uAdapter, "play", false);
    m_pAgent->Resume(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "Resume",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"play failed", 5, "m_pCinecasterAdapter->play failed!!!"},
                                 {RESULT, 5, "strCmd[player_resume] ErrorCode[-1]"}}));

    m_pAgent->SeekTo(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "SeekTo",
                                {{ENTER, 3, "ENTER!!!"},
                                 {NEED_ONE, 5, NEED_ONE},
                                 {RESULT, 5, "strCmd[player_seek_to] ErrorCode[-2]"}}));

    m_pAgent->SeekTo(Args("[{param_seek_to: 250.9}]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "SeekTo",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"Get seek to param is %f", 3, "Get seek to param is 250.900000 !!!"},
                                 {LEAVE, 3, "LEAVE!!!"},
                                 {RESULT, 5, "strCmd[player_seek_to] ErrorCode[0]"}}));

    Sim::answer(m_uAdapter, "Skip", false);
    m_pAgent->Skip(Args("[{param_skip: -30.5}]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "Skip",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"Get seek to param is %d", 3, "Get seek to param is -30 !!!"},
                                 {"Skip!!!", 5, "m_pCinecasterAdapter->Skip!!!"},
                                 {RESULT, 5, "strCmd[player_skip] ErrorCode[-1]"}}));

    m_pAgent->SetStreamingProperty(Args("[{param_property_type: 'BITRATE'}]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "SetStreamingProperty",
                                {{ENTER, 3, "ENTER!!!"},
                                 {PARAM_LENGTH, 4, "param length is 1"},
                                 {"Get streaming property", 3,
                                  "Get streaming property type is : BITRATE , param is :  !!!"},
                                 {LEAVE, 3, "LEAVE!!!"},
                                 {RESULT, 5, "strCmd[player_set_streaming_property] ErrorCode[0]"}}));

    m_pAgent->SetOutputArea(Args("[{}]"));
    EXPECT_EQ(TakeLines(),
              Path("PlayerAgentTransport.cpp", "SetOutputArea",
                   {{ENTER, 3, "ENTER!!!"},
                    {"Do not call SetOutputArea", 5,
                     "Do not call SetOutputArea when you use Tether. This method is deprecated in Tether."},
                    {LEAVE, 3, "LEAVE!!!"},
                    {RESULT, 5, "strCmd[player_set_output_area] ErrorCode[0]"}}));
}

TEST_F(CAgentLogTest, Queries)
{
    CScope scope(*this);
    m_pAgent->GetPlayerState(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentQueries.cpp", "GetPlayerState",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"Player didn't create yet", 5, "Player didn't create yet!!"},
                                 {RESULT_INT, 5, "strCmd[player_get_player_state] ErrorCode[0] IntVal[5]"}}));

    Sim::CReport report;
    report.m_ulDuration = 4294967295ul;
    report.m_ullPosition = 4294967296ull + 100;
    report.m_iState = 7;
    Sim::report(m_uAdapter, report);

    // The duration line's second conversion is incomplete; the C library
    // decides what it prints.
    char szDuration[128];
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
    std::snprintf(szDuration, sizeof szDuration, "m_pCinecasterAdapter->GetDuration is  %d (%ll)!!!", -1, -1);
#pragma GCC diagnostic pop
    m_pAgent->GetDuration(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentQueries.cpp", "GetDuration",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"GetDuration is", 5, szDuration},
                                 {RESULT_INT, 5, "strCmd[player_get_duration] ErrorCode[0] IntVal[-1]"}}));

    m_pAgent->GetCurrentPosition(Args("[]"));
    EXPECT_EQ(TakeLines(),
              Path("PlayerAgentQueries.cpp", "GetCurrentPosition",
                   {{ENTER, 3, "ENTER!!!"},
                    {"get current time is", 5,
                     "m_pCinecasterAdapter->GetCurrentPosition get current time is  100 (0x64)!!!"},
                    {RESULT_INT, 5, "strCmd[player_get_current_position] ErrorCode[0] IntVal[100]"}}));

    m_pAgent->SetURI(Args("[{param_url: 'x'}]"));
    TakeLines();
    m_pAgent->GetPlayerState(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentQueries.cpp", "GetPlayerState",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"It has internal error", 5,
                                  "m_pCinecasterAdapter->GetPlayerState failed!!! It has internal error."},
                                 {RESULT, 5, "strCmd[player_get_player_state] ErrorCode[-1]"}}));
}

TEST_F(CAgentLogTest, SessionCommands)
{
    CScope scope(*this);
    m_pAgent->RegisterSoundAnalysisListener(Args("[5, {}]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentSession.cpp", "RegisterSoundAnalysisListener",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"Length() <= 1 ", 5, "Invalid param. aArgs.Length() <= 1 "},
                                 {RESULT, 5, "strCmd[player_register_sound_analysis_listener] ErrorCode[-2]"}}));

    m_pAgent->Restore(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentSession.cpp", "Restore",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"use default parameter", 5, "aArgs.Length() < 1 , use default parameter"},
                                 {RESULT, 5, "strCmd[player_restore] ErrorCode[-2]"}}));

    m_pAgent->Restore(Args("[{param_restore_url: 'u', param_restore_resume_time: 250.9, param_restore_prepare: true}]"));
    EXPECT_EQ(TakeLines(),
              Path("PlayerAgentSession.cpp", "Restore",
                   {{ENTER, 3, "ENTER!!!"},
                    {"Use the parameters", 5,
                     "Use the parameters which got from aArgs, restore_url:u, resumetime:250.900000, prepare:1 "},
                    {LEAVE, 3, "LEAVE!!!"},
                    {RESULT, 5, "strCmd[player_restore] ErrorCode[0]"}}));

    m_pAgent->SetPartyTVMode(Args("[]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentSession.cpp", "SetPartyTVMode",
                                {{ENTER, 3, "ENTER!!!"},
                                 {PARAM_LENGTH, 4, "param length is 0"},
                                 {NEED_ONE, 5, NEED_ONE},
                                 {LEAVE, 3, "LEAVE!!!"},
                                 {RESULT, 5, "strCmd[player_set_party_tv_mode] ErrorCode[0]"}}));

    Sim::answer(m_uAdapter, "SetSoundAnalysis", false);
    m_pAgent->SetPartyTVMode(Args("['on']"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentSession.cpp", "SetPartyTVMode",
                                {{ENTER, 3, "ENTER!!!"},
                                 {PARAM_LENGTH, 4, "param length is 1"},
                                 {"Get aArgs[0] is", 3, "Get aArgs[0] is 'on'!!!"},
                                 {"Get the party mode is", 5, "Get the party mode is 0!!!"},
                                 {"SetSoundAnalysis failed", 5, "m_pCinecasterAdapter->SetSoundAnalysis failed!!!"},
                                 {RESULT, 5, "strCmd[player_set_party_tv_mode] ErrorCode[-1]"}}));
}

}  // namespace
}  // namespace TetherTest
