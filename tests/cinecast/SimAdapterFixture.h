// One fresh simulated adapter per test and its index in the simulation, and
// every operation that the simulation answers, with the record it leaves.
#ifndef CINECAST_TESTS_SIM_ADAPTER_FIXTURE_H
#define CINECAST_TESTS_SIM_ADAPTER_FIXTURE_H

#include <gtest/gtest.h>

#include <memory>
#include <new>
#include <vector>

#include "Cinecast/CinecasterAdapter.h"
#include "Cinecast/SimAdapter.h"

namespace Sim = DeviceAPI::Cinecast::Sim;
using namespace DeviceAPI::Cinecast;

class SimAdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_uIndex = Sim::count();
        m_pAdapter.reset(new (std::nothrow) CinecasterAdapter);
        ASSERT_TRUE(m_pAdapter);
    }

    std::unique_ptr<CinecasterAdapter> m_pAdapter;
    std::size_t m_uIndex = 0;
};

// A handler as the adapter takes it.
template <typename Handler>
void* Untyped(Handler handler)
{
    return reinterpret_cast<void*>(handler);
}

struct COperation {
    const char* m_pszName;    // as Sim::answer spells it
    const char* m_pszRecord;  // as Sim::calls shows the call
    bool (*m_pfnCall)(CinecasterAdapter&);
};

inline const std::vector<COperation>& AnswerableOperations()
{
    using A = CinecasterAdapter;
    static unsigned long s_ulDuration;
    static unsigned long long s_ullPosition;
    static player_state_e s_eState;
    static const std::vector<COperation> s_vecOperations = {
        {"SetKiteBridge", "SetKiteBridge(true)", [](A& a) { return a.SetKiteBridge(true); }},
        {"create", "create()", [](A& a) { return a.create(); }},
        {"setUri", "setUri(\"http://a/b\")", [](A& a) { return a.setUri("http://a/b"); }},
        {"close", "close()", [](A& a) { return a.close(); }},
        {"prepare", "prepare()", [](A& a) { return a.prepare(); }},
        {"registerPrepareListener", "registerPrepareListener(null)",
         [](A& a) { return a.registerPrepareListener(nullptr); }},
        {"setStreamingProperty", "setStreamingProperty(\"t\",\"\")",
         [](A& a) { return a.setStreamingProperty("t", ""); }},
        {"Pause", "Pause()", [](A& a) { return a.Pause(); }},
        {"play", "play()", [](A& a) { return a.play(); }},
        {"Stop", "Stop()", [](A& a) { return a.Stop(); }},
        {"seekTo", "seekTo(5000,null)", [](A& a) { return a.seekTo(5000, nullptr); }},
        {"Skip", "Skip(-30,null)", [](A& a) { return a.Skip(-30, nullptr); }},
        {"GetDuration", "GetDuration()", [](A& a) { return a.GetDuration(&s_ulDuration); }},
        {"GetCurrentPosition", "GetCurrentPosition()", [](A& a) { return a.GetCurrentPosition(&s_ullPosition); }},
        {"GetPlayerState", "GetPlayerState()", [](A& a) { return a.GetPlayerState(&s_eState); }},
        {"registerSoundAnalysisListener", "registerSoundAnalysisListener(null)",
         [](A& a) { return a.registerSoundAnalysisListener(nullptr); }},
        {"suspend", "suspend()", [](A& a) { return a.suspend(); }},
        {"restore", "restore(\"u\",250,true)", [](A& a) { return a.restore("u", 250, true); }},
        {"SetSoundAnalysis", "SetSoundAnalysis(false)", [](A& a) { return a.SetSoundAnalysis(false); }},
    };
    return s_vecOperations;
}

#endif
