// One adapter on the GStreamer player per test, with every event it reports
// logged with the thread it came from. The media path comes from the build:
// a 3 s tone.
#ifndef CINECAST_TESTS_GST_ADAPTER_FIXTURE_H
#define CINECAST_TESTS_GST_ADAPTER_FIXTURE_H

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <mutex>
#include <thread>
#include <vector>

#include "Cinecast/AdapterBackend.h"
#include "Cinecast/CinecasterAdapter.h"
#include "Cinecast/GstAdapter.h"

using namespace DeviceAPI::Cinecast;
using namespace std::chrono_literals;

struct CLoggedEvent {
    int m_iCode = -1;
    std::thread::id m_thread = std::this_thread::get_id();
    KiteBridgeEvent m_event{0, "", ""};  // a buffering percentage as its type

    void Fill() {}
    void Fill(int iPercent) { m_event.type = iPercent; }
    void Fill(unsigned long long) {}
    void Fill(KiteBridgeEvent* pEvent) { m_event = *pEvent; }
    void Fill(const int*, int) {}
};

class GstAdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("CINECAST_GST_AUDIO_SINK", "fakesink", 1);
        setenv("CINECAST_GST_VIDEO_SINK", "fakesink", 1);
        SetBackendFactory(Gst::CreateBackend);
        m_pAdapter = new CinecasterAdapter;
        void* const apHandlers[] = {Untyped(&On<0, int>), Untyped(&On<1>), Untyped(&On<2>), Untyped(&On<3>),
                                    Untyped(&On<4, unsigned long long>), Untyped(&On<5, KiteBridgeEvent*>),
                                    Untyped(&On<6, KiteBridgeEvent*>), Untyped(&On<7, KiteBridgeEvent*>),
                                    Untyped(&On<8, const int*, int>)};
        for (int i = 0; i < KITE_BRIDGE_CALLBACK_COUNT; ++i)
            m_pAdapter->RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(i), apHandlers[i], this);
        ASSERT_TRUE(m_pAdapter->SetKiteBridge(true));
    }

    void TearDown() override
    {
        delete m_pAdapter;
        SetBackendFactory(nullptr);
    }

    void PlayTone()
    {
        ASSERT_TRUE(m_pAdapter->create() && m_pAdapter->setUri(TETHER_GST_TEST_TONE));
        ASSERT_TRUE(m_pAdapter->prepare() && m_pAdapter->play());
    }

    player_state_e State()
    {
        player_state_e eState = static_cast<player_state_e>(-1);
        EXPECT_TRUE(m_pAdapter->GetPlayerState(&eState));
        return eState;
    }

    // The events of one code, or all of them for -1.
    std::vector<CLoggedEvent> Events(int iCode = -1)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<CLoggedEvent> aSelected;
        for (const CLoggedEvent& event : m_aEvents) {
            if (iCode < 0 || event.m_iCode == iCode)
                aSelected.push_back(event);
        }
        return aSelected;
    }

    // True once uCount events of the code have come, false after the timeout.
    bool WaitFor(int iCode, std::size_t uCount, std::chrono::milliseconds timeout = 3000ms)
    {
        for (auto end = std::chrono::steady_clock::now() + timeout; Events(iCode).size() < uCount;
             std::this_thread::sleep_for(10ms)) {
            if (std::chrono::steady_clock::now() > end)
                return false;
        }
        return true;
    }

    CinecasterAdapter* m_pAdapter = nullptr;
    std::atomic<int> m_iDelayMs{0};  // each handler sleeps this long before it returns
    std::atomic<int> m_iRunning{0};  // handlers running at this moment

private:
    // The handler of one code; the code's own arguments come before the user data.
    template <int CODE, typename... Args>
    static bool On(Args... args, void* pUserData)
    {
        GstAdapterTest* pThis = static_cast<GstAdapterTest*>(pUserData);
        ++pThis->m_iRunning;
        std::this_thread::sleep_for(std::chrono::milliseconds(pThis->m_iDelayMs.load()));
        CLoggedEvent event;
        event.m_iCode = CODE;
        event.Fill(args...);
        std::lock_guard<std::mutex> guard(pThis->m_lock);
        pThis->m_aEvents.push_back(std::move(event));
        --pThis->m_iRunning;
        return true;
    }
    template <typename Handler>
    static void* Untyped(Handler handler)
    {
        return reinterpret_cast<void*>(handler);
    }

    std::mutex m_lock;
    std::vector<CLoggedEvent> m_aEvents;
};

#endif
