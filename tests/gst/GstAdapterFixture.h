// One adapter on the GStreamer player per test, with every event logged.
// The media path comes from the build: a 3 s tone.
#ifndef CINECAST_TESTS_GST_ADAPTER_FIXTURE_H
#define CINECAST_TESTS_GST_ADAPTER_FIXTURE_H

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include "Cinecast/AdapterBackend.h"
#include "Cinecast/CinecasterAdapter.h"
#include "Cinecast/GstAdapter.h"
#include "GstEventLog.h"

using namespace DeviceAPI::Cinecast;
using namespace std::chrono_literals;

class GstAdapterTest : public ::testing::Test {
protected:
    // The audio sink element of the adapters made from now on.
    virtual const char* AudioSink() { return "fakesink"; }

    void SetUp() override
    {
        setenv("CINECAST_GST_AUDIO_SINK", AudioSink(), 1);
        setenv("CINECAST_GST_VIDEO_SINK", "fakesink", 1);
        SetBackendFactory(Gst::CreateBackend);
        m_pAdapter = new CinecasterAdapter;
        m_log.Attach(*m_pAdapter);
        ASSERT_TRUE(m_pAdapter->SetKiteBridge(true));
    }

    void TearDown() override
    {
        delete m_pAdapter;
        SetBackendFactory(nullptr);
    }

    // Created, the tone set, prepared, and playing when asked.
    void OpenTone(bool bPlay)
    {
        ASSERT_TRUE(m_pAdapter->create());
        ASSERT_TRUE(m_pAdapter->setUri(TETHER_GST_TEST_TONE));
        ASSERT_TRUE(m_pAdapter->prepare());
        if (bPlay) {
            ASSERT_TRUE(m_pAdapter->play());
        }
    }

    player_state_e State()
    {
        player_state_e eState = static_cast<player_state_e>(-1);
        EXPECT_TRUE(m_pAdapter->GetPlayerState(&eState));
        return eState;
    }

    // Current-time events within the period.
    std::size_t TimesDuring(std::chrono::milliseconds period)
    {
        std::size_t uBefore = m_log.Count(KITE_BRIDGE_CURRENT_TIME);
        std::this_thread::sleep_for(period);
        return m_log.Count(KITE_BRIDGE_CURRENT_TIME) - uBefore;
    }

    CinecasterAdapter* m_pAdapter = nullptr;
    CEventLog m_log;
};

#endif
