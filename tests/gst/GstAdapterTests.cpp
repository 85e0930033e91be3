// The GStreamer adapter's threads (where its events come from, when they
// stop, what the bridge switch does) and its refusals and failures.
#include <gst/gst.h>
#include <unistd.h>

#include <set>

#include "GstAdapterFixture.h"

TEST_F(GstAdapterTest, EventsOnlyWhileTheBridgeIsOnFromOneThreadOfTheAdaptersOwn)
{
    ASSERT_TRUE(m_pAdapter->SetKiteBridge(false));
    OpenTone(true);
    EXPECT_EQ(TimesDuring(350ms), 0u);
    ASSERT_TRUE(m_pAdapter->SetKiteBridge(true));
    EXPECT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 1, 1000ms));
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 3));
    ASSERT_TRUE(m_pAdapter->seekTo(1000, nullptr));
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_SEEK_COMPLETE, 1));
    ASSERT_TRUE(m_pAdapter->SetSoundAnalysis(true));
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_SOUND_ANALYSIS, 2));

    std::set<std::thread::id> threads;
    for (const CLoggedEvent& event : m_log.Events())
        threads.insert(event.m_thread);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
    for (const CLoggedEvent& event : m_log.Events(KITE_BRIDGE_SOUND_ANALYSIS))
        EXPECT_EQ(event.m_aBands.size(), static_cast<std::size_t>(Gst::SOUND_ANALYSIS_BANDS));
}

TEST_F(GstAdapterTest, NoHandlerRunsOnceTheDestructorHasReturned)
{
    OpenTone(true);
    ASSERT_TRUE(m_pAdapter->SetSoundAnalysis(true));
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_CURRENT_TIME, 2));
    // Slow handlers make it likely that one is running as the adapter goes.
    m_log.SlowDown(60ms);
    std::this_thread::sleep_for(130ms);
    delete m_pAdapter;
    m_pAdapter = nullptr;
    EXPECT_EQ(m_log.Running(), 0);
    std::size_t uEvents = m_log.Events().size();
    std::this_thread::sleep_for(300ms);
    EXPECT_EQ(m_log.Events().size(), uEvents);
}

TEST_F(GstAdapterTest, RefusesWithoutAPipelineOrAPlaceToWrite)
{
    EXPECT_EQ(State(), PLAYER_STATE_NONE);
    EXPECT_FALSE(m_pAdapter->setUri(TETHER_GST_TEST_TONE));
    EXPECT_FALSE(m_pAdapter->prepare());
    EXPECT_FALSE(m_pAdapter->registerPrepareListener(nullptr));
    EXPECT_FALSE(m_pAdapter->play());
    EXPECT_FALSE(m_pAdapter->suspend());
    EXPECT_FALSE(m_pAdapter->restore(TETHER_GST_TEST_TONE, 0, true));
    EXPECT_FALSE(m_pAdapter->close());

    OpenTone(false);
    EXPECT_FALSE(m_pAdapter->GetDuration(nullptr));
    EXPECT_FALSE(m_pAdapter->GetCurrentPosition(nullptr));
    EXPECT_FALSE(m_pAdapter->GetPlayerState(nullptr));
    EXPECT_FALSE(m_pAdapter->setUri(std::string("tone\0.wav", 9)));
}

// The same error, whichever prepare meets it.
TEST_F(GstAdapterTest, ErrorEventCarriesCodeMessageAndDebugText)
{
    ASSERT_TRUE(m_pAdapter->create());
    ASSERT_TRUE(m_pAdapter->setUri("/no/such/dir/tone.wav"));
    EXPECT_FALSE(m_pAdapter->prepare());
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_ERROR_EVENT, 1));
    KiteBridgeEvent event = m_log.Events(KITE_BRIDGE_ERROR_EVENT)[0].m_event;
    EXPECT_EQ(event.type, GST_RESOURCE_ERROR_NOT_FOUND);
    EXPECT_EQ(event.param1, "Resource not found.");
    EXPECT_NE(event.param2.find("/no/such/dir/tone.wav"), std::string::npos) << event.param2;
    EXPECT_EQ(State(), PLAYER_STATE_IDLE);
    EXPECT_FALSE(m_pAdapter->registerPrepareListener(nullptr));
    ASSERT_TRUE(m_log.WaitFor(KITE_BRIDGE_ERROR_EVENT, 2));
    EXPECT_EQ(m_log.Events(KITE_BRIDGE_ERROR_EVENT)[1].m_event.param1, event.param1);
    EXPECT_EQ(m_log.Count(KITE_BRIDGE_PREPARE_COMPLETE), 0u);
    EXPECT_EQ(State(), PLAYER_STATE_IDLE);
}

// A source that never delivers: prepare gives up on it rather than hold the
// caller.
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
