// Whole log lines of a constructor, a destructor and a command: priority,
// tag, frame (file, function, line of the call, thread id) and payload, in
// order. The scripts check the payloads of every path and that each frame
// names the same function and line twice; here the line must be the right one.
#include <cstdio>

#include "AgentTest.h"

namespace TetherTest {
namespace {

using CAgentLogTest = CAgentTest;

TEST_F(CAgentLogTest, ConstructionACommandWithItsFailureLineAndDestruction)
{
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    EXPECT_EQ(TakeLines(), ExpectedPath("PlayerAgent.cpp", "CPlayerAgent",
                                {{"SetKiteBridge as true", 3, "SetKiteBridge as true!!!"},
                                 {"RegisterKiteBridgeCallback Buffering_CB", 3,
                                  "RegisterKiteBridgeCallback Buffering_CB !!!"}}));
    {
        CScope scope(*this);
        Sim::answer(uAdapter, "setUri", false);
        pAgent->SetURI(Args("[{param_url: 'http://a/b.mp4'}, 7]"));
    }
    EXPECT_EQ(TakeLines(), ExpectedPath("PlayerAgent.cpp", "SetURI",
                                {{"LOG_ENTER()", 3, "ENTER!!!"},
                                 {"param length is %d", 4, "param length is 2"},
                                 {"Get the URL is", 5, "Get the URL is http://a/b.mp4!!!"},
                                 {"open failed", 5, "m_pCinecasterAdapter->open failed!!!"},
                                 {"ErrorCode[%d]\"", 5, "strCmd[player_set_uri] ErrorCode[-1]"}}));
    char szAddress[32];
    std::snprintf(szAddress, sizeof szAddress, "%p", static_cast<void*>(pAgent.get()));
    pAgent.reset();
    EXPECT_FALSE(Sim::isAlive(uAdapter));
    EXPECT_EQ(TakeLines(),
              ExpectedPath("PlayerAgent.cpp", "~CPlayerAgent",
                   {{"Start to destroy", 5, std::string("Start to destroy CPlayerAgent[") + szAddress + "]."},
                    {"End to destroy", 5, std::string("End to destroy CPlayerAgent[") + szAddress + "]."}}));
}

}  // namespace
}  // namespace TetherTest
