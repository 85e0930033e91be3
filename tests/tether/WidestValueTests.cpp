// The adapter's widest values through the agent. On the TV (32-bit ARM) long
// is as narrow as int; on the desktop it is 64 bits. The answers must not
// differ.
#include <climits>

#include "AgentTest.h"

namespace TetherTest {
namespace {

using CWidestValueTest = CAgentTest;

// Queries keep the low 32 bits of the adapter's values: ULONG_MAX is 2^32 - 1
// on the TV and 2^64 - 1 here, and both read as -1. Positions and resume
// times travel to the adapter as long, saturated to the 32-bit range first,
// so the adapter sees the same number on both targets.
TEST_F(CWidestValueTest, AdapterValuesAndArgumentsKeepThirtyTwoBits)
{
    CScope scope(*this);
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    auto answer = [](int iData) {
        return "{\"return_ecode\":0,\"return_type\":1,\"return_data\":" + std::to_string(iData) + "}";
    };
    Sim::CReport report;
    report.m_ulDuration = ULONG_MAX;
    report.m_ullPosition = ULLONG_MAX;
    m_players.report(uAdapter, report);
    EXPECT_EQ(Json(pAgent->GetDuration(Args("[]"))), answer(-1));
    EXPECT_EQ(Json(pAgent->GetCurrentPosition(Args("[]"))), answer(-1));
    // The largest duration that has bit 31 clear stays positive everywhere.
    report.m_ulDuration = 0x7FFFFFFFul;
    report.m_ullPosition = 0x1FFFFFFFFull;
    m_players.report(uAdapter, report);
    EXPECT_EQ(Json(pAgent->GetDuration(Args("[]"))), answer(INT_MAX));
    EXPECT_EQ(Json(pAgent->GetCurrentPosition(Args("[]"))), answer(-1));

    std::size_t uBefore = m_players.calls(uAdapter).size();
    pAgent->SeekTo(Args("[{param_seek_to: 2 ** 32 + 100}]"));
    pAgent->SeekTo(Args("[{param_seek_to: -(2 ** 40)}]"));
    pAgent->Restore(Args("[{param_restore_url: 'u', param_restore_resume_time: 2 ** 31}]"));
    std::vector<std::string> vecCalls = m_players.calls(uAdapter);
    vecCalls.erase(vecCalls.begin(), vecCalls.begin() + static_cast<std::ptrdiff_t>(uBefore));
    EXPECT_EQ(vecCalls, (std::vector<std::string>{"seekTo(2147483647,null)", "seekTo(-2147483648,null)",
                                                  "restore(\"u\",2147483647,false)"}));
}

}  // namespace
}  // namespace TetherTest
