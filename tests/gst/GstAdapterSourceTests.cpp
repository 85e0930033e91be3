// Media from sources other than local files: a network stream with its
// user agent and buffering, and a source that never delivers, which prepare
// gives up on.
#include <unistd.h>

#include "GstAdapterFixture.h"
#include "LocalHttpServer.h"

TEST_F(GstAdapterTest, NetworkMediaCarriesTheUserAgentAndReportsBuffering)
{
    CLocalHttpServer server(TETHER_GST_TEST_TONE);
    ASSERT_TRUE(server.IsListening());
    EXPECT_FALSE(m_pAdapter->setStreamingProperty("REFERER", "x"));
    ASSERT_TRUE(m_pAdapter->setStreamingProperty("USER_AGENT", "TetherTest/1.0"));
    ASSERT_TRUE(m_pAdapter->create());
    ASSERT_TRUE(m_pAdapter->setUri(server.Url("tone.wav")));
    ASSERT_TRUE(m_pAdapter->prepare());
    unsigned long ulDuration = 0;
    ASSERT_TRUE(m_pAdapter->GetDuration(&ulDuration));
    EXPECT_NEAR(static_cast<double>(ulDuration), 3000.0, 1.0);

    std::vector<std::string> aRequests = server.Requests();
    ASSERT_FALSE(aRequests.empty());
    EXPECT_NE(aRequests[0].find("User-Agent: TetherTest/1.0\r\n"), std::string::npos) << aRequests[0];
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_BUFFERING, 1, 1000ms));
    EXPECT_EQ(m_log.Events(KITE_BRIDGE_BUFFERING).back().m_llValue, 100);

    ASSERT_TRUE(m_pAdapter->play());
    EXPECT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 2, 1000ms));
}

TEST_F(GstAdapterTest, PrepareGivesUpOnASourceThatNeverDelivers)
{
    int aPipe[2];
    ASSERT_EQ(pipe(aPipe), 0);
    ASSERT_TRUE(m_pAdapter->create());
    ASSERT_TRUE(m_pAdapter->setUri("fd://" + std::to_string(aPipe[0])));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_pAdapter->prepare());
    auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, 9s);
    EXPECT_LE(waited, 12s);
    EXPECT_EQ(State(), PLAYER_STATE_IDLE);
    // The player is still usable afterwards.
    ASSERT_TRUE(m_pAdapter->setUri(TETHER_GST_TEST_TONE));
    EXPECT_TRUE(m_pAdapter->prepare());
    close(aPipe[0]);
    close(aPipe[1]);
}
