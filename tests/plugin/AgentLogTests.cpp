// Whole log lines of one path per source file: priority, tag, frame (file,
// function, line of the call, thread id) and payload, in order. The scripts
// check the payloads of every path; here the frame must name the right line.
#include <cstdio>

#include "AgentTest.h"

namespace TetherTest {
namespace {

const char* const ENTER = "LOG_ENTER()";
const char* const LEAVE = "LOG_LEAVE()";
const char* const RESULT = "ErrorCode[%d]\"";
const char* const RESULT_INT = "IntVal[%d]\"";

class CAgentLogTest : public CAgentTest {
protected:
    std::vector<CExpectedLine> Path(const char* szFile, const char* szFunction,
                                    std::initializer_list<CExpectedCall> aCalls)
    {
        return ExpectedPath(szFile, szFunction, ThisThreadId(), aCalls);
    }
};

TEST_F(CAgentLogTest, ConstructionAndDestruction)
{
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    EXPECT_EQ(TakeLines(), Path("PlayerAgent.cpp", "CPlayerAgent",
                                {{"SetKiteBridge as true", 3, "SetKiteBridge as true!!!"},
                                 {"RegisterKiteBridgeCallback Buffering_CB", 3,
                                  "RegisterKiteBridgeCallback Buffering_CB !!!"}}));
    char szAddress[32];
    std::snprintf(szAddress, sizeof szAddress, "%p", static_cast<void*>(pAgent.get()));
    pAgent.reset();
    EXPECT_FALSE(Sim::isAlive(uAdapter));
    EXPECT_EQ(TakeLines(),
              Path("PlayerAgent.cpp", "~CPlayerAgent",
                   {{"Start to destroy", 5, std::string("Start to destroy CPlayerAgent[") + szAddress + "]."},
                    {"End to destroy", 5, std::string("End to destroy CPlayerAgent[") + szAddress + "]."}}));
}

TEST_F(CAgentLogTest, CommandPathsInEachSourceFile)
{
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    TakeLines();
    CScope scope(*this);
    Sim::answer(uAdapter, "setUri", false);
    pAgent->SetURI(Args("[{param_url: 'http://a/b.mp4'}, 7]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgent.cpp", "SetURI",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"param length is %d", 4, "param length is 2"},
                                 {"Get the URL is", 5, "Get the URL is http://a/b.mp4!!!"},
                                 {"open failed", 5, "m_pCinecasterAdapter->open failed!!!"},
                                 {RESULT, 5, "strCmd[player_set_uri] ErrorCode[-1]"}}));

    pAgent->SeekTo(Args("[{param_seek_to: 250.9}]"));
    EXPECT_EQ(TakeLines(), Path("PlayerAgentTransport.cpp", "SeekTo",
                                {{ENTER, 3, "ENTER!!!"},
                                 {"Get seek to param is %f", 3, "Get seek to param is 250.900000 !!!"},
                                 {LEAVE, 3, "LEAVE!!!"},
                                 {RESULT, 5, "strCmd[player_seek_to] ErrorCode[0]"}}));

    Sim::CReport report;
    report.m_ullPosition = 4294967296ull + 100;
    Sim::report(uAdapter, report);
    pAgent->GetCurrentPosition(Args("[]"));
    EXPECT_EQ(TakeLines(),
              Path("PlayerAgentQueries.cpp", "GetCurrentPosition",
                   {{ENTER, 3, "ENTER!!!"},
                    {"get current time is", 5,
                     "m_pCinecasterAdapter->GetCurrentPosition get current time is  100 (0x64)!!!"},
                    {RESULT_INT, 5, "strCmd[player_get_current_position] ErrorCode[0] IntVal[100]"}}));

    pAgent->Restore(Args("[{param_restore_url: 'u', param_restore_resume_time: 250.9, param_restore_prepare: true}]"));
    EXPECT_EQ(TakeLines(),
              Path("PlayerAgentSession.cpp", "Restore",
                   {{ENTER, 3, "ENTER!!!"},
                    {"Use the parameters", 5,
                     "Use the parameters which got from aArgs, restore_url:u, resumetime:250.900000, prepare:1 "},
                    {LEAVE, 3, "LEAVE!!!"},
                    {RESULT, 5, "strCmd[player_restore] ErrorCode[0]"}}));
}

}  // namespace
}  // namespace TetherTest
