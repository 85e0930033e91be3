// What the audio sink reports: the sound server's requests to pause and
// resume become ASM events, and buffering holds playback until it is full.
#include <gst/gst.h>

#include <atomic>
#include <mutex>

#include "GstAdapterFixture.h"

namespace {

// A silent audio sink that can post what a sound server's device would: a
// request for another state, or a buffering percentage.
struct CAskingSink {
    GstBin m_parent;
};
struct CAskingSinkClass {
    GstBinClass m_parentClass;
};
std::atomic<GstElement*> g_pLastSink{nullptr};

G_DEFINE_TYPE(CAskingSink, cinecast_asking_sink, GST_TYPE_BIN)

void cinecast_asking_sink_class_init(CAskingSinkClass* pClass)
{
    gst_element_class_set_static_metadata(GST_ELEMENT_CLASS(pClass), "Asking sink", "Sink/Audio",
                                          "A silent sink that asks for state changes", "Tether tests");
}

void cinecast_asking_sink_init(CAskingSink* pSelf)
{
    GstElement* pFake = gst_element_factory_make("fakesink", nullptr);
    g_object_set(pFake, "sync", TRUE, nullptr);
    gst_bin_add(GST_BIN(pSelf), pFake);
    GstPad* pTarget = gst_element_get_static_pad(pFake, "sink");
    gst_element_add_pad(GST_ELEMENT(pSelf), gst_ghost_pad_new("sink", pTarget));
    gst_object_unref(pTarget);
    GST_OBJECT_FLAG_SET(pSelf, GST_ELEMENT_FLAG_SINK);
    g_pLastSink.store(GST_ELEMENT(pSelf));
}

class GstAskingSinkTest : public GstAdapterTest {
protected:
    const char* AudioSink() override
    {
        static std::once_flag s_once;
        std::call_once(s_once, [] {
            gst_init(nullptr, nullptr);
            gst_element_register(nullptr, "cinecastaskingsink", GST_RANK_NONE, cinecast_asking_sink_get_type());
        });
        return "cinecastaskingsink";
    }

    // The sink of the tone, opened and playing.
    GstElement* PlayingSink()
    {
        OpenTone(true);
        EXPECT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 1));
        GstElement* pSink = g_pLastSink.load();
        EXPECT_NE(pSink, nullptr);
        return pSink;
    }

    static void Ask(GstElement* pSink, GstState eState)
    {
        gst_element_post_message(pSink, gst_message_new_request_state(GST_OBJECT(pSink), eState));
    }
    static void Buffer(GstElement* pSink, int iPercent)
    {
        gst_element_post_message(pSink, gst_message_new_buffering(GST_OBJECT(pSink), iPercent));
    }
};

}  // namespace

TEST_F(GstAskingSinkTest, SoundServerPausesAndResumesButLeavesAPauseOfTheUsersAlone)
{
    GstElement* pSink = PlayingSink();
    Ask(pSink, GST_STATE_PAUSED);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_ASM_PAUSE, 1));
    KiteBridgeEvent pause = m_log.Events(KITE_BRIDGE_ASM_PAUSE)[0].m_event;
    EXPECT_EQ(pause.type, GST_STATE_PAUSED);
    EXPECT_EQ(pause.param1, GST_OBJECT_NAME(pSink));
    EXPECT_EQ(pause.param2, "PAUSED");
    EXPECT_EQ(State(), PLAYER_STATE_PAUSED);
    EXPECT_EQ(TimesDuring(300ms), 0u);

    Ask(pSink, GST_STATE_PLAYING);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_ASM_RESUME, 1));
    KiteBridgeEvent resume = m_log.Events(KITE_BRIDGE_ASM_RESUME)[0].m_event;
    EXPECT_EQ(resume.type, GST_STATE_PLAYING);
    EXPECT_EQ(resume.param2, "PLAYING");
    EXPECT_EQ(State(), PLAYER_STATE_PLAYING);
    EXPECT_GE(TimesDuring(300ms), 2u);

    // The user's own pause: no request moves it.
    ASSERT_TRUE(m_pAdapter->Pause());
    Ask(pSink, GST_STATE_PLAYING);
    Ask(pSink, GST_STATE_PAUSED);
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(m_log.Count(KITE_BRIDGE_ASM_RESUME), 1u);
    EXPECT_EQ(m_log.Count(KITE_BRIDGE_ASM_PAUSE), 1u);
    EXPECT_EQ(State(), PLAYER_STATE_PAUSED);
}

TEST_F(GstAskingSinkTest, BufferingHoldsPlaybackUntilFull)
{
    GstElement* pSink = PlayingSink();
    Buffer(pSink, 40);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_BUFFERING, 1));
    EXPECT_EQ(m_log.Events(KITE_BRIDGE_BUFFERING)[0].m_llValue, 40);
    EXPECT_EQ(State(), PLAYER_STATE_PLAYING);
    unsigned long long ullHeld = 0;
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullHeld));
    std::this_thread::sleep_for(300ms);
    unsigned long long ullLater = 0;
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullLater));
    EXPECT_LE(ullLater, ullHeld + 20);

    Buffer(pSink, 100);
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_BUFFERING, 2));
    EXPECT_EQ(m_log.Events(KITE_BRIDGE_BUFFERING)[1].m_llValue, 100);
    std::this_thread::sleep_for(300ms);
    ASSERT_TRUE(m_pAdapter->GetCurrentPosition(&ullLater));
    EXPECT_GE(ullLater, ullHeld + 200);
}
