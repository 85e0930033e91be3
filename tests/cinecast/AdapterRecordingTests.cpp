// Every call through the adapter is recorded in the agreed text form.
#include <climits>

#include "SimAdapterFixture.h"

using DeviceAPI::Cinecast::KITE_BRIDGE_BUFFERING;
using DeviceAPI::Cinecast::KITE_BRIDGE_SOUND_ANALYSIS;
using DeviceAPI::Cinecast::KiteBridgeCallBack;

namespace {
bool IgnoreBuffering(int, void*) { return true; }
}  // namespace

TEST_F(SimAdapterTest, RecordsEveryOperationInCallOrder)
{
    unsigned long ulDuration = 0;
    unsigned long long ullPosition = 0;
    player_state_e eState = PLAYER_STATE_NONE;

    m_pAdapter->SetKiteBridge(true);
    m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_BUFFERING, reinterpret_cast<void*>(&IgnoreBuffering), this);
    m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_SOUND_ANALYSIS, nullptr, nullptr);
    m_pAdapter->create();
    m_pAdapter->setUri("http://a/b");
    m_pAdapter->close();
    m_pAdapter->prepare();
    m_pAdapter->registerPrepareListener(nullptr);
    m_pAdapter->setStreamingProperty("t", "");
    m_pAdapter->Pause();
    m_pAdapter->play();
    m_pAdapter->Stop();
    m_pAdapter->seekTo(5000, nullptr);
    m_pAdapter->Skip(-30, nullptr);
    m_pAdapter->GetDuration(&ulDuration);
    m_pAdapter->GetCurrentPosition(&ullPosition);
    m_pAdapter->GetPlayerState(&eState);
    m_pAdapter->registerSoundAnalysisListener(nullptr);
    m_pAdapter->suspend();
    m_pAdapter->restore("u", 250, true);
    m_pAdapter->SetSoundAnalysis(false);

    std::vector<std::string> aExpected = {
        "SetKiteBridge(true)",
        "RegisterKiteBridgeCallback(0)",
        "RegisterKiteBridgeCallback(8)",
        "create()",
        "setUri(\"http://a/b\")",
        "close()",
        "prepare()",
        "registerPrepareListener(null)",
        "setStreamingProperty(\"t\",\"\")",
        "Pause()",
        "play()",
        "Stop()",
        "seekTo(5000,null)",
        "Skip(-30,null)",
        "GetDuration()",
        "GetCurrentPosition()",
        "GetPlayerState()",
        "registerSoundAnalysisListener(null)",
        "suspend()",
        "restore(\"u\",250,true)",
        "SetSoundAnalysis(false)",
    };
    EXPECT_EQ(Sim::calls(m_uIndex), aExpected);
}

TEST_F(SimAdapterTest, WritesStringsAsJsonLiteralsKeepingUtf8)
{
    m_pAdapter->setUri("q\"b\\s/\n\t\x01\x1f\x7f caf\xc3\xa9");
    m_pAdapter->setStreamingProperty("", "\xe2\x82\xac;,)");
    std::vector<std::string> aExpected = {
        "setUri(\"q\\\"b\\\\s/\\u000a\\u0009\\u0001\\u001f\x7f caf\xc3\xa9\")",
        "setStreamingProperty(\"\",\"\xe2\x82\xac;,)\")",
    };
    EXPECT_EQ(Sim::calls(m_uIndex), aExpected);
}

TEST_F(SimAdapterTest, WritesIntegersAtTheirLimitsAndNonNullPointers)
{
    int iDummy = 0;
    m_pAdapter->seekTo(LONG_MIN, reinterpret_cast<DeviceAPI::Common::MultiCallbackUserData*>(&iDummy));
    m_pAdapter->Skip(INT_MAX, nullptr);
    m_pAdapter->restore("", LONG_MAX, false);
    m_pAdapter->SetKiteBridge(false);
    std::vector<std::string> aExpected = {
        // long is 32 bits on the TV and 64 on the desktop.
        "seekTo(" + std::to_string(LONG_MIN) + ",pointer)",
        "Skip(2147483647,null)",
        "restore(\"\"," + std::to_string(LONG_MAX) + ",false)",
        "SetKiteBridge(false)",
    };
    EXPECT_EQ(Sim::calls(m_uIndex), aExpected);
}

TEST_F(SimAdapterTest, RefusesAndSkipsRegistrationUnderAnUnknownCode)
{
    EXPECT_FALSE(m_pAdapter->RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(9),
                                                        reinterpret_cast<void*>(&IgnoreBuffering), nullptr));
    EXPECT_FALSE(m_pAdapter->RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(-1),
                                                        reinterpret_cast<void*>(&IgnoreBuffering), nullptr));
    EXPECT_TRUE(Sim::calls(m_uIndex).empty());
}

TEST_F(SimAdapterTest, KeepsRecordsApartPerAdapter)
{
    std::unique_ptr<CinecasterAdapter> pOther(new (std::nothrow) CinecasterAdapter);
    ASSERT_TRUE(pOther);
    m_pAdapter->play();
    pOther->Stop();
    EXPECT_EQ(Sim::calls(m_uIndex), std::vector<std::string>{"play()"});
    EXPECT_EQ(Sim::calls(m_uIndex + 1), std::vector<std::string>{"Stop()"});
}
