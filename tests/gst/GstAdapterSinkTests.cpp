// What the audio sink reports: the sound server's requests to pause and
// resume become ASM events, and buffering holds playback until it is full.
#include "AskingSink.h"
#include "GstAdapterFixture.h"

class GstAskingSinkTest : public GstAdapterTest {
protected:
    const char* AudioSink() override { return AskingSink::Register(); }

    GstElement* Sink()
    {
        GstElement* pSink = AskingSink::Last();
        EXPECT_NE(pSink, nullptr);
        return pSink;
    }
};

TEST_F(GstAskingSinkTest, SoundServerPausesAndResumes)
{
    OpenTone(true);
    GstElement* pSink = Sink();
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 1));

    AskingSink::Ask(pSink, GST_STATE_PAUSED);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_ASM_PAUSE, 1));
    KiteBridgeEvent pause = m_log.Events(KITE_BRIDGE_ASM_PAUSE)[0].m_event;
    EXPECT_EQ(pause.type, GST_STATE_PAUSED);
    EXPECT_EQ(pause.param1, GST_OBJECT_NAME(pSink));
    EXPECT_EQ(pause.param2, "PAUSED");
    EXPECT_EQ(State(), PLAYER_STATE_PAUSED);
    EXPECT_EQ(TimesDuring(300ms), 0u);

    AskingSink::Ask(pSink, GST_STATE_PLAYING);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_ASM_RESUME, 1));
    KiteBridgeEvent resume = m_log.Events(KITE_BRIDGE_ASM_RESUME)[0].m_event;
    EXPECT_EQ(resume.type, GST_STATE_PLAYING);
    EXPECT_EQ(resume.param2, "PLAYING");
    EXPECT_EQ(State(), PLAYER_STATE_PLAYING);
    EXPECT_GE(TimesDuring(300ms), 2u);
}

TEST_F(GstAskingSinkTest, ResumeRequestLeavesAPauseOfTheUsersAlone)
{
    OpenTone(true);
    GstElement* pSink = Sink();
    ASSERT_TRUE(m_pAdapter->Pause());
    AskingSink::Ask(pSink, GST_STATE_PLAYING);
    AskingSink::Ask(pSink, GST_STATE_PAUSED);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(m_log.Count(KITE_BRIDGE_ASM_RESUME), 0u);
    EXPECT_EQ(m_log.Count(KITE_BRIDGE_ASM_PAUSE), 0u);
    EXPECT_EQ(State(), PLAYER_STATE_PAUSED);
}

TEST_F(GstAskingSinkTest, BufferingHoldsPlaybackUntilFull)
{
    OpenTone(true);
    GstElement* pSink = Sink();
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 1));

    AskingSink::Buffer(pSink, 40);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_BUFFERING, 1));
    EXPECT_EQ(m_log.Events(KITE_BRIDGE_BUFFERING)[0].m_llValue, 40);
    EXPECT_EQ(State(), PLAYER_STATE_PLAYING);
    unsigned long long ullHeld = 0;
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullHeld));
    std::this_thread::sleep_for(300ms);
    unsigned long long ullLater = 0;
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullLater));
    EXPECT_LE(ullLater, ullHeld + 20);

    AskingSink::Buffer(pSink, 100);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_BUFFERING, 2));
    EXPECT_EQ(m_log.Events(KITE_BRIDGE_BUFFERING)[1].m_llValue, 100);
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullLater));
    EXPECT_GE(ullLater, ullHeld + 200);
}
