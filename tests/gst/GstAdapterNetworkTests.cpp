// Network media from a server on the loopback address: the user agent set
// as a streaming property, and the buffering the pipeline reports.
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
    // Reports may still be rising when the first one arrives: wait for the
    // last to settle.
    std::size_t uSeen = 0;
    while (m_log.WaitFor(KITE_BRIDGE_BUFFERING, uSeen + 1, 3000ms)) {
        uSeen = m_log.Count(KITE_BRIDGE_BUFFERING);
        if (m_log.Events(KITE_BRIDGE_BUFFERING).back().m_llValue == 100)
            break;
    }
    ASSERT_GT(uSeen, 0u);
    EXPECT_EQ(m_log.Events(KITE_BRIDGE_BUFFERING).back().m_llValue, 100);

    ASSERT_TRUE(m_pAdapter->play());
    EXPECT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 2, 1000ms));
}
