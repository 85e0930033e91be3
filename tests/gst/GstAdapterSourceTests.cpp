// A source that never delivers: prepare gives up on it rather than hold the
// caller.
#include <unistd.h>

#include "GstAdapterFixture.h"

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
