// The GStreamer adapter's threads (where its events come from, when they
// stop), a prepare that gives up, and what its audio sink reports.
#include <gst/base/gstbasesink.h>
#include <gst/gst.h>
#include <unistd.h>

#include <set>

#include "GstAdapterFixture.h"

// Events from the clock (current time), from the bus (seek complete) and from
// a failed start (error), all from one thread of the adapter's own.
TEST_F(GstAdapterTest, EventsComeFromOneThreadOfTheAdaptersOwn)
{
    PlayTone();
    EXPECT_TRUE(WaitFor(KITE_BRIDGE_CURRENT_TIME, 1, 1000ms));
    ASSERT_TRUE(m_pAdapter->seekTo(1000, nullptr));
    ASSERT_TRUE(WaitFor(KITE_BRIDGE_SEEK_COMPLETE, 1));
    ASSERT_TRUE(m_pAdapter->setUri("/no/such/dir/tone.wav"));
    EXPECT_FALSE(m_pAdapter->prepare());
    ASSERT_TRUE(WaitFor(KITE_BRIDGE_ERROR_EVENT, 1));
    // Scripts see only the message; the code and the debug text are logged.
    KiteBridgeEvent error = Events(KITE_BRIDGE_ERROR_EVENT)[0].m_event;
    EXPECT_EQ(error.type, GST_RESOURCE_ERROR_NOT_FOUND);
    EXPECT_NE(error.param2.find("/no/such/dir/tone.wav"), std::string::npos) << error.param2;

    std::set<std::thread::id> threads;
    for (const CLoggedEvent& event : Events())
        threads.insert(event.m_thread);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
}

TEST_F(GstAdapterTest, NoHandlerRunsOnceTheDestructorHasReturned)
{
    PlayTone();
    ASSERT_TRUE(m_pAdapter->SetSoundAnalysis(true));
    ASSERT_TRUE(WaitFor(KITE_BRIDGE_CURRENT_TIME, 2));
    // Slow handlers make it likely that one is running as the adapter goes.
    m_iDelayMs = 60;
    std::this_thread::sleep_for(130ms);
    delete m_pAdapter;
    m_pAdapter = nullptr;
    EXPECT_EQ(m_iRunning.load(), 0);
    std::size_t uEvents = Events().size();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Events().size(), uEvents);
}

// A source that never delivers: a synchronous prepare gives up on it rather
// than hold the caller, and the player stays usable.
TEST_F(GstAdapterTest, PrepareGivesUpOnASourceThatNeverDelivers)
{
    int aPipe[2];
    ASSERT_EQ(pipe(aPipe), 0);
    ASSERT_TRUE(m_pAdapter->create() && m_pAdapter->setUri("fd://" + std::to_string(aPipe[0])));
    auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(m_pAdapter->prepare());
    auto waited = std::chrono::steady_clock::now() - start;
    // It waits its ten seconds; how much longer a loaded machine takes is
    // left to the test's own time limit.
    EXPECT_GE(waited, 9s) << std::chrono::duration_cast<std::chrono::milliseconds>(waited).count();
    EXPECT_EQ(State(), PLAYER_STATE_IDLE);
    EXPECT_TRUE(m_pAdapter->setUri(TETHER_GST_TEST_TONE) && m_pAdapter->prepare());
    close(aPipe[0]);
    close(aPipe[1]);
}

namespace {

// The last made of a silent audio sink that can post what a sound server's
// device would: a request for another state, or a buffering level.
std::atomic<GstElement*> g_pAskingSink{nullptr};

GType AskingSinkType()
{
    static GType s_type = g_type_register_static_simple(
        GST_TYPE_BASE_SINK, "CinecastAskingSink", sizeof(GstBaseSinkClass),
        [](gpointer pClass, gpointer) {
            static GstStaticPadTemplate s_sink =
                GST_STATIC_PAD_TEMPLATE("sink", GST_PAD_SINK, GST_PAD_ALWAYS, GST_STATIC_CAPS_ANY);
            gst_element_class_add_static_pad_template(GST_ELEMENT_CLASS(pClass), &s_sink);
            gst_element_class_set_static_metadata(GST_ELEMENT_CLASS(pClass), "Asking sink", "Sink/Audio",
                                                  "A silent sink that asks for state changes", "Tether tests");
        },
        sizeof(GstBaseSink), [](GTypeInstance* pSelf, gpointer) { g_pAskingSink.store(GST_ELEMENT(pSelf)); },
        GTypeFlags(0));
    return s_type;
}

}  // namespace

// Buffering below full holds playback until it is full; the sound server's
// requests to pause and resume become ASM events (the state asked for, the
// sink's name, the state's name) but leave a pause of the user's own alone.
TEST_F(GstAdapterTest, TheAudioSinksBufferingAndSoundServerRequests)
{
    gst_element_register(nullptr, "cinecastaskingsink", GST_RANK_NONE, AskingSinkType());
    setenv("CINECAST_GST_AUDIO_SINK", "cinecastaskingsink", 1);
    PlayTone();
    // Playback has started: what the sink reports from now on comes while playing.
    ASSERT_TRUE(WaitFor(KITE_BRIDGE_CURRENT_TIME, 1));
    GstElement* pSink = g_pAskingSink.load();
    ASSERT_NE(pSink, nullptr);
    GstObject* pSource = GST_OBJECT(pSink);
    struct CStep {
        GstMessage* pMessage;
        KiteBridgeCallBack eCode;
        KiteBridgeEvent expected;  // for buffering, the percentage as type
        player_state_e eState;
        bool bMoves;
    } aSteps[] = {
        {gst_message_new_buffering(pSource, 40), KITE_BRIDGE_BUFFERING, {40, "", ""}, PLAYER_STATE_PLAYING, false},
        {gst_message_new_buffering(pSource, 100), KITE_BRIDGE_BUFFERING, {100, "", ""}, PLAYER_STATE_PLAYING, true},
        {gst_message_new_request_state(pSource, GST_STATE_PAUSED), KITE_BRIDGE_ASM_PAUSE,
         {GST_STATE_PAUSED, GST_OBJECT_NAME(pSink), "PAUSED"}, PLAYER_STATE_PAUSED, false},
        {gst_message_new_request_state(pSource, GST_STATE_PLAYING), KITE_BRIDGE_ASM_RESUME,
         {GST_STATE_PLAYING, GST_OBJECT_NAME(pSink), "PLAYING"}, PLAYER_STATE_PLAYING, true},
    };
    for (const CStep& step : aSteps) {
        SCOPED_TRACE("step " + std::to_string(&step - aSteps));
        std::size_t uBefore = Events(step.eCode).size();
        gst_element_post_message(pSink, step.pMessage);
        ASSERT_TRUE(WaitFor(step.eCode, uBefore + 1));
        CLoggedEvent event = Events(step.eCode).back();
        EXPECT_EQ(event.m_event.type, step.expected.type);
        EXPECT_EQ(event.m_event.param1, step.expected.param1);
        EXPECT_EQ(event.m_event.param2, step.expected.param2);
        EXPECT_EQ(State(), step.eState);
        unsigned long long ullBefore = 0, ullAfter = 0;
        EXPECT_TRUE(m_pAdapter->GetCurrentPosition(&ullBefore));
        std::this_thread::sleep_for(300ms);
        EXPECT_TRUE(m_pAdapter->GetCurrentPosition(&ullAfter));
        EXPECT_TRUE(step.bMoves ? ullAfter >= ullBefore + 200 : ullAfter <= ullBefore + 20) << ullAfter - ullBefore;
    }

    ASSERT_TRUE(m_pAdapter->Pause());
    gst_element_post_message(pSink, gst_message_new_request_state(pSource, GST_STATE_PLAYING));
    gst_element_post_message(pSink, gst_message_new_request_state(pSource, GST_STATE_PAUSED));
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(Events(KITE_BRIDGE_ASM_RESUME).size() + Events(KITE_BRIDGE_ASM_PAUSE).size(), 2u);
    EXPECT_EQ(State(), PLAYER_STATE_PAUSED);
}
