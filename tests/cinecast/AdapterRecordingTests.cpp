// Every call through the adapter is recorded in the agreed text form.
#include <climits>

#include "SimAdapterFixture.h"

namespace {
bool IgnoreBuffering(int, void*) { return true; }
}  // namespace

TEST_F(SimAdapterTest, RecordsEveryOperationInCallOrder)
{
    m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_BUFFERING, reinterpret_cast<void*>(&IgnoreBuffering), this);
    m_pAdapter->RegisterKiteBridgeCallback(KITE_BRIDGE_SOUND_ANALYSIS, nullptr, nullptr);
    std::vector<std::string> vecExpected = {"RegisterKiteBridgeCallback(0)", "RegisterKiteBridgeCallback(8)"};
    for (const COperation& operation : AnswerableOperations()) {
        operation.m_pfnCall(*m_pAdapter);
        vecExpected.push_back(operation.m_pszRecord);
    }
    EXPECT_EQ(Sim::calls(m_uIndex), vecExpected);
}

TEST_F(SimAdapterTest, WritesStringsAsJsonLiteralsKeepingUtf8)
{
    m_pAdapter->setUri("q\"b\\s/\n\t\x01\x1f\x7f caf\xc3\xa9");
    m_pAdapter->setStreamingProperty("", "\xe2\x82\xac;,)");
    EXPECT_EQ(Sim::calls(m_uIndex), (std::vector<std::string>{
                                        "setUri(\"q\\\"b\\\\s/\\u000a\\u0009\\u0001\\u001f\x7f caf\xc3\xa9\")",
                                        "setStreamingProperty(\"\",\"\xe2\x82\xac;,)\")"}));
}

TEST_F(SimAdapterTest, WritesIntegersAtTheirLimitsAndNonNullPointers)
{
    int iDummy = 0;
    m_pAdapter->seekTo(LONG_MIN, reinterpret_cast<DeviceAPI::Common::MultiCallbackUserData*>(&iDummy));
    m_pAdapter->Skip(INT_MAX, nullptr);
    m_pAdapter->restore("", LONG_MAX, false);
    // long is 32 bits on the TV and 64 on the desktop.
    EXPECT_EQ(Sim::calls(m_uIndex), (std::vector<std::string>{"seekTo(" + std::to_string(LONG_MIN) + ",pointer)",
                                                              "Skip(2147483647,null)",
                                                              "restore(\"\"," + std::to_string(LONG_MAX) + ",false)"}));
}
