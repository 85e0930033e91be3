// The nine event handlers called directly: their log lines, their guards and
// what reaches the stored script functions on the main loop.
#include "AgentTest.h"

namespace TetherTest {
namespace {

using Tether::CPlayerAgent;
using DeviceAPI::Cinecast::KiteBridgeEvent;

const char* const FILE_NAME = "PlayerAgentEvents.cpp";
const char* const ENTER = "LOG_ENTER()";
const char* const LEAVE = "LOG_LEAVE()";
const char* const QUEUED = "End clutter_threads_add_idle_full.";
const char* const COMPLETE = "Complete call js callback";

class CAgentEventTest : public CAgentTest {
protected:
    void SetUp() override
    {
        CAgentTest::SetUp();
        m_pAgent = NewAgent(nullptr);
        CScope scope(*this);
        Run("var got = [];");
        m_pAgent->set_onbuffering_callback(Recorder("buffering"));
        m_pAgent->set_onprepare_complete_callback(Recorder("prepare"));
        m_pAgent->set_onplay_complete_callback(Recorder("play"));
        m_pAgent->set_onseek_complete_callback(Recorder("seek"));
        m_pAgent->set_oncurrent_time_callback(Recorder("time"));
        m_pAgent->set_onerror_event_callback(Recorder("error"));
        m_pAgent->set_onasm_pause_callback(Recorder("pause"));
        m_pAgent->set_onasm_resume_callback(Recorder("resume"));
        m_pAgent->set_onsound_analysis_callback(Recorder("bands"));
        TakeLines();
    }
    void TearDown() override
    {
        m_pAgent.reset();
        CAgentTest::TearDown();
    }

    // Needs a CScope.
    Bridge::ScriptFunction Recorder(const std::string& strName)
    {
        return Bridge::ScriptFunction(
            Run("(function () { got.push(['" + strName + "'].concat(Array.from(arguments))); })")
                .As<v8::Function>());
    }

    // Runs the main loop until the queued records are delivered; the calls
    // the script functions received, as JSON.
    std::string Delivered()
    {
        PumpMainContext(50);
        return Eval("JSON.stringify(got.splice(0))");
    }

    std::vector<CExpectedLine> Path(const char* szFunction, std::initializer_list<CExpectedCall> aCalls)
    {
        return ExpectedPath(FILE_NAME, szFunction, ThisThreadId(), aCalls);
    }

    std::unique_ptr<CPlayerAgent> m_pAgent;
};

TEST_F(CAgentEventTest, BufferingCompletionAndTimeHandlers)
{
    void* pThis = m_pAgent.get();
    EXPECT_TRUE(CPlayerAgent::Buffering_CB(-5, pThis));
    EXPECT_EQ(TakeLines(), Path("Buffering_CB", {{ENTER, 3, "ENTER!!!"},
                                                 {"Get the buffering percent", 5, "Get the buffering percent is -5, -5."},
                                                 {QUEUED, 5, QUEUED}}));
    EXPECT_TRUE(CPlayerAgent::Prepare_Complete_CB(pThis));
    EXPECT_EQ(TakeLines(), Path("Prepare_Complete_CB", {{ENTER, 3, "ENTER!!!"},
                                                        {"Ready to call", 5, "Ready to call Prepare Complete callback."},
                                                        {QUEUED, 5, QUEUED}}));
    EXPECT_TRUE(CPlayerAgent::Play_Complete_CB(pThis));
    EXPECT_EQ(TakeLines(), Path("Play_Complete_CB", {{ENTER, 3, "ENTER!!!"},
                                                     {"Ready to call", 5, "Ready to call Play Complete callback."},
                                                     {QUEUED, 5, QUEUED}}));
    EXPECT_TRUE(CPlayerAgent::Seek_Complete_CB(pThis));
    EXPECT_EQ(TakeLines(), Path("Seek_Complete_CB", {{ENTER, 3, "ENTER!!!"},
                                                     {"Ready to call", 5, "Ready to call Seek Complete callback."},
                                                     {QUEUED, 5, QUEUED},
                                                     {LEAVE, 3, "LEAVE!!!"}}));
    EXPECT_TRUE(CPlayerAgent::Current_Time_CB(4294967301ull, pThis));
    EXPECT_TRUE(CPlayerAgent::Current_Time_CB(2147483648ull, pThis));
    std::vector<CExpectedLine> vecTime;
    for (const char* szTime : {"5", "-2147483648"}) {
        std::string strTime = szTime;
        for (const CExpectedLine& line :
             Path("Current_Time_CB", {{ENTER, 3, "ENTER!!!"},
                                      {"Ready to call js callback", 5,
                                       "Ready to call js callback, strRes:" + strTime + ", " + strTime},
                                      {COMPLETE, 5, COMPLETE},
                                      {LEAVE, 3, "LEAVE!!!"}}))
            vecTime.push_back(line);
    }
    EXPECT_EQ(TakeLines(), vecTime);

    EXPECT_EQ(Delivered(), "[[\"buffering\",\"-5\"],[\"prepare\"],[\"play\"],[\"seek\"],"
                           "[\"time\",\"5\"],[\"time\",\"-2147483648\"]]");
}

TEST_F(CAgentEventTest, ErrorAsmAndSoundAnalysisHandlers)
{
    void* pThis = m_pAgent.get();
    KiteBridgeEvent error{3, "Network", "debug"};
    EXPECT_TRUE(CPlayerAgent::Error_Event_CB(&error, pThis));
    EXPECT_EQ(TakeLines(),
              Path("Error_Event_CB", {{ENTER, 3, "ENTER!!!"},
                                      {"Got the Error event", 5, "Got the Error event is type: 3, param1: Network, param2: debug"},
                                      {"Ready to call onerror_event_callback", 5, "Ready to call onerror_event_callback, strRes:Network"},
                                      {COMPLETE, 5, COMPLETE},
                                      {LEAVE, 3, "LEAVE!!!"}}));
    KiteBridgeEvent pause{0x141, "a,b", ""};
    EXPECT_TRUE(CPlayerAgent::ASM_Pause_CB(&pause, pThis));
    EXPECT_EQ(TakeLines(),
              Path("ASM_Pause_CB", {{ENTER, 3, "ENTER!!!"},
                                    {"Got the event is type", 5, "Got the event is type: 321, param1: a,b, param2: "},
                                    {"Ready to call onasm_pause_callback", 5, "Ready to call onasm_pause_callback, strRes:EventType:A,a,b,;"},
                                    {COMPLETE, 5, COMPLETE},
                                    {LEAVE, 3, "LEAVE!!!"}}));
    KiteBridgeEvent resume{0, "", "x"};
    EXPECT_TRUE(CPlayerAgent::ASM_Resume_CB(&resume, pThis));
    EXPECT_EQ(TakeLines(),
              Path("ASM_Resume_CB", {{ENTER, 3, "ENTER!!!"},
                                     {"Got the event is type", 5, "Got the event is type: 0, param1: , param2: x"},
                                     {COMPLETE, 5, COMPLETE},
                                     {LEAVE, 3, "LEAVE!!!"}}));
    const int aBands[] = {3, -1, 12};
    EXPECT_TRUE(CPlayerAgent::SoundAnalysisCB(aBands, 3, pThis));
    EXPECT_EQ(TakeLines(),
              Path("SoundAnalysisCB", {{ENTER, 3, "ENTER!!!"},
                                       {"band array size", 5, "band array size = [3]\n"},
                                       {"Ready to call onsound_analysis_callback", 5, "Ready to call onsound_analysis_callback, strRes:3|-1|12"},
                                       {COMPLETE, 5, COMPLETE},
                                       {LEAVE, 3, "LEAVE!!!"}}));
    EXPECT_TRUE(CPlayerAgent::SoundAnalysisCB(aBands, 0, pThis));
    TakeLines();

    EXPECT_EQ(Delivered(), "[[\"error\",\"Network\"],[\"pause\",\"EventType:A,a,b,;\"],"
                           "[\"resume\",\"EventType:\\u0000,,x;\"],[\"bands\",\"3|-1|12\"],[\"bands\"]]");
}

TEST_F(CAgentEventTest, GuardsRefuseMissingPointersAndQueueNothing)
{
    void* pThis = m_pAgent.get();
    KiteBridgeEvent event{1, "p1", "p2"};
    const int aBands[] = {1};
    std::vector<std::pair<const char*, bool>> vecCalls = {
        {"Buffering_CB", CPlayerAgent::Buffering_CB(1, nullptr)},
        {"Prepare_Complete_CB", CPlayerAgent::Prepare_Complete_CB(nullptr)},
        {"Play_Complete_CB", CPlayerAgent::Play_Complete_CB(nullptr)},
        {"Seek_Complete_CB", CPlayerAgent::Seek_Complete_CB(nullptr)},
        {"Current_Time_CB", CPlayerAgent::Current_Time_CB(1, nullptr)},
        {"Error_Event_CB", CPlayerAgent::Error_Event_CB(&event, nullptr)},
        {"Error_Event_CB", CPlayerAgent::Error_Event_CB(nullptr, pThis)},
        {"ASM_Pause_CB", CPlayerAgent::ASM_Pause_CB(&event, nullptr)},
        {"ASM_Pause_CB", CPlayerAgent::ASM_Pause_CB(nullptr, pThis)},
        {"ASM_Resume_CB", CPlayerAgent::ASM_Resume_CB(&event, nullptr)},
        {"ASM_Resume_CB", CPlayerAgent::ASM_Resume_CB(nullptr, pThis)},
        {"SoundAnalysisCB", CPlayerAgent::SoundAnalysisCB(aBands, 1, nullptr)},
        {"SoundAnalysisCB", CPlayerAgent::SoundAnalysisCB(nullptr, 1, pThis)},
    };
    std::vector<CExpectedLine> vecExpected;
    for (const auto& call : vecCalls) {
        EXPECT_FALSE(call.second) << call.first;
        for (const CExpectedLine& line : Path(call.first, {{ENTER, 3, "ENTER!!!"},
                                                           {"pThis == NULL", 5, "pThis == NULL, Invalid param."}}))
            vecExpected.push_back(line);
    }
    EXPECT_EQ(TakeLines(), vecExpected);
    EXPECT_EQ(Delivered(), "[]");
    EXPECT_TRUE(TakeLines().empty()) << "a record was delivered";
}

TEST_F(CAgentEventTest, RecordsOfADestroyedAgentCallNothing)
{
    EXPECT_TRUE(CPlayerAgent::Buffering_CB(10, m_pAgent.get()));
    EXPECT_TRUE(CPlayerAgent::Seek_Complete_CB(m_pAgent.get()));
    m_pAgent.reset();
    EXPECT_EQ(Delivered(), "[]");
}

}  // namespace
}  // namespace TetherTest
