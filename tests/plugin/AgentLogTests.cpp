// Every log line of the agent, its handlers and the delivery names the
// statement that writes it: for each command (accepted, refused by the
// adapter, rejected), each event handler (with its event and without) and
// each delivery, the lines of one call name different source lines, each of
// which holds the format its payload was written with. The scripts check
// the payloads of every path.
#include <glib.h>

#include <cstdio>
#include <sys/syscall.h>
#include <unistd.h>

#include <LogFrames.h>
#include <Tether.h>

#include "AgentTest.h"

namespace TetherTest {
namespace {

using TestSupport::CFrame;
using TestSupport::NameTheirStatements;
using Handler = Bridge::ScriptObject (*)(Tether::CPlayerAgent*, const Bridge::ScriptArray&);
using CTether = Tether::Tether;
using DeviceAPI::Cinecast::KiteBridgeCallBack;

int ThisThread()
{
    return static_cast<int>(syscall(SYS_gettid));
}

// "priority function payload" of each captured line, after its frame was
// taken apart; "out of frame: text" for a line in none.
std::vector<std::string> Shown(const std::vector<Dlog::CLogLine>& vecLines)
{
    std::vector<std::string> vecShown;
    for (const Dlog::CLogLine& line : vecLines) {
        CFrame frame;
        vecShown.push_back(TestSupport::ParseFrame(line, frame) ? std::to_string(frame.m_iPriority) + " " +
                                                                       frame.m_strFunction + " " + frame.m_strPayload
                                                                 : "out of frame: " + line.m_strText);
    }
    return vecShown;
}

// The threads that wrote the lines, one each.
std::vector<int> ThreadsOf(const std::vector<Dlog::CLogLine>& vecLines)
{
    std::vector<int> vecThreads;
    for (const Dlog::CLogLine& line : vecLines) {
        CFrame frame;
        vecThreads.push_back(TestSupport::ParseFrame(line, frame) ? frame.m_iThreadId : -1);
    }
    return vecThreads;
}

using CAgentLogTest = CAgentTest;

TEST_F(CAgentLogTest, ConstructionAndDestructionNameTheirStatements)
{
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    EXPECT_EQ(Shown(vecLines), (std::vector<std::string>{"3 CPlayerAgent SetKiteBridge as true!!!",
                                                         "3 CPlayerAgent RegisterKiteBridgeCallback Buffering_CB !!!"}));
    EXPECT_TRUE(NameTheirStatements(vecLines));
    EXPECT_EQ(ThreadsOf(vecLines), std::vector<int>(2, ThisThread()));
    for (const Dlog::CLogLine& line : vecLines)
        EXPECT_EQ(line.m_strTag, "WRT_PLUGINS/CINECAST") << line.m_strText;

    char szAddress[32];
    std::snprintf(szAddress, sizeof szAddress, "%p", static_cast<void*>(pAgent.get()));
    pAgent.reset();
    EXPECT_FALSE(Sim::isAlive(uAdapter));
    vecLines = Dlog::TakeCaptured();
    EXPECT_EQ(Shown(vecLines), (std::vector<std::string>{"5 ~CPlayerAgent Start to destroy CPlayerAgent[" +
                                                             std::string(szAddress) + "].",
                                                         "5 ~CPlayerAgent End to destroy CPlayerAgent[" +
                                                             std::string(szAddress) + "]."}));
    EXPECT_TRUE(NameTheirStatements(vecLines));
}

// A command called through its handler, on a new agent whose adapter is
// told to refuse one operation; after an accepted URL and with a reported
// state where the row says so.
struct CCommandCase {
    const char* pszWhat;
    Handler pHandler;
    const char* pszArgs;     // a script array literal
    const char* pszRefused;  // the adapter operation that answers false, or null
    bool bOpened;            // a URL accepted first
    int iState;              // the state the adapter reports
    int iCode;               // "return_ecode"
    std::size_t uLines;      // the handler's ENTER included
};

const CCommandCase COMMAND_CASES[] = {
    {"create accepted", &CTether::HandleCreate, "[]", nullptr, false, 0, 0, 4},
    {"create refused", &CTether::HandleCreate, "[1]", "create", false, 0, -1, 4},
    {"set_uri accepted", &CTether::HandleSetURI, "[{param_url: 'u'}]", nullptr, false, 0, 0, 5},
    {"set_uri refused", &CTether::HandleSetURI, "[{param_url: 'u'}]", "setUri", false, 0, -1, 6},
    {"set_uri rejected", &CTether::HandleSetURI, "[]", nullptr, false, 0, -2, 5},
    {"prepare accepted", &CTether::HandlePrepare, "[]", nullptr, false, 0, 0, 3},
    {"prepare refused", &CTether::HandlePrepare, "[]", "prepare", false, 0, -1, 4},
    {"prepare_async accepted", &CTether::HandlePrepareAsync, "[]", nullptr, false, 0, 0, 3},
    {"prepare_async refused", &CTether::HandlePrepareAsync, "[]", "registerPrepareListener", false, 0, -1, 4},
    {"set_output_area", &CTether::HandleSetOutputArea, "[]", nullptr, false, 0, 0, 5},
    {"set_streaming_property accepted", &CTether::HandleSetStreamingProperty,
     "[{param_property_type: 'T'}, {param_property_param: 'P'}]", nullptr, false, 0, 0, 6},
    {"set_streaming_property refused", &CTether::HandleSetStreamingProperty, "[{}]", "setStreamingProperty", false,
     0, -1, 6},
    {"set_streaming_property rejected", &CTether::HandleSetStreamingProperty, "[]", nullptr, false, 0, -2, 5},
    {"pause accepted", &CTether::HandlePause, "[]", nullptr, false, 0, 0, 4},
    {"pause refused", &CTether::HandlePause, "[]", "Pause", false, 0, -1, 4},
    {"resume accepted", &CTether::HandleResume, "[]", nullptr, false, 0, 0, 4},
    {"resume refused", &CTether::HandleResume, "[]", "play", false, 0, -1, 4},
    {"stop accepted", &CTether::HandleStop, "[]", nullptr, false, 0, 0, 4},
    {"stop refused", &CTether::HandleStop, "[]", "Stop", false, 0, -1, 4},
    {"play accepted", &CTether::HandlePlay, "[]", nullptr, false, 0, 0, 4},
    {"play refused", &CTether::HandlePlay, "[]", "play", false, 0, -1, 4},
    {"seek_to accepted", &CTether::HandleSeekTo, "[{param_seek_to: 12.7}]", nullptr, false, 0, 0, 5},
    {"seek_to refused", &CTether::HandleSeekTo, "[{param_seek_to: 12.7}]", "seekTo", false, 0, -1, 5},
    {"seek_to rejected", &CTether::HandleSeekTo, "[]", nullptr, false, 0, -2, 4},
    {"skip accepted", &CTether::HandleSkip, "[{param_skip: -3}]", nullptr, false, 0, 0, 5},
    {"skip refused", &CTether::HandleSkip, "[{param_skip: -3}]", "Skip", false, 0, -1, 5},
    {"skip rejected", &CTether::HandleSkip, "[]", nullptr, false, 0, -2, 4},
    {"get_duration accepted", &CTether::HandleGetDuration, "[]", nullptr, false, 0, 0, 4},
    {"get_duration refused", &CTether::HandleGetDuration, "[]", "GetDuration", false, 0, -1, 4},
    {"get_current_position accepted", &CTether::HandleGetCurrentPosition, "[]", nullptr, false, 0, 0, 4},
    {"get_current_position refused", &CTether::HandleGetCurrentPosition, "[]", "GetCurrentPosition", false, 0, -1, 4},
    {"get_player_state before a URL", &CTether::HandleGetPlayerState, "[]", nullptr, false, 0, 0, 4},
    {"get_player_state accepted", &CTether::HandleGetPlayerState, "[]", nullptr, true, 3, 0, 4},
    {"get_player_state refused", &CTether::HandleGetPlayerState, "[]", "GetPlayerState", true, 0, -1, 4},
    {"get_player_state out of range", &CTether::HandleGetPlayerState, "[]", nullptr, true, 7, -1, 4},
    {"register_sound_analysis_listener accepted", &CTether::HandleRegisterSoundAnalysisListener, "[() => 0, 1]",
     nullptr, false, 0, 0, 4},
    {"register_sound_analysis_listener refused", &CTether::HandleRegisterSoundAnalysisListener, "[() => 0, 1]",
     "registerSoundAnalysisListener", false, 0, -1, 4},
    {"register_sound_analysis_listener rejected", &CTether::HandleRegisterSoundAnalysisListener, "[1, 2]", nullptr,
     false, 0, -2, 4},
    {"suspend accepted", &CTether::HandleSuspend, "[{}]", nullptr, false, 0, 0, 4},
    {"suspend refused", &CTether::HandleSuspend, "[{}]", "suspend", false, 0, -1, 4},
    {"suspend rejected", &CTether::HandleSuspend, "[]", nullptr, false, 0, -2, 4},
    {"restore accepted", &CTether::HandleRestore, "[{param_restore_url: 'r'}]", nullptr, false, 0, 0, 5},
    {"restore refused", &CTether::HandleRestore, "[{}]", "restore", false, 0, -1, 5},
    {"restore rejected", &CTether::HandleRestore, "[]", nullptr, false, 0, -2, 4},
    {"close accepted", &CTether::HandleClose, "[]", nullptr, false, 0, 0, 4},
    {"close refused", &CTether::HandleClose, "[]", "close", false, 0, -1, 4},
    {"set_party_tv_mode accepted", &CTether::HandleSetPartyTVMode, "['on']", nullptr, false, 0, 0, 7},
    {"set_party_tv_mode refused", &CTether::HandleSetPartyTVMode, "[{param_party_mode: true}]", "SetSoundAnalysis",
     false, 0, -1, 6},
    {"set_party_tv_mode without an argument", &CTether::HandleSetPartyTVMode, "[]", nullptr, false, 0, 0, 6},
};

TEST_F(CAgentLogTest, EachCommandsLinesNameTheirStatements)
{
    for (const CCommandCase& c : COMMAND_CASES) {
        CScope scope(*this);
        std::size_t uAdapter = 0;
        std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
        if (c.bOpened)
            pAgent->SetURI(Args("[{param_url: 'u'}]"));
        Sim::CReport report;
        report.m_iState = c.iState;
        Sim::report(uAdapter, report);
        if (c.pszRefused != nullptr)
            Sim::answer(uAdapter, c.pszRefused, false);
        Bridge::ScriptArray aArgs = Args(c.pszArgs);
        Dlog::TakeCaptured();
        Bridge::ScriptObject result = c.pHandler(pAgent.get(), aArgs);
        const std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
        EXPECT_EQ(Json(result).rfind("{\"return_ecode\":" + std::to_string(c.iCode), 0), 0u) << c.pszWhat;
        EXPECT_EQ(vecLines.size(), c.uLines) << c.pszWhat;
        EXPECT_TRUE(NameTheirStatements(vecLines)) << c.pszWhat;
        EXPECT_EQ(ThreadsOf(vecLines), std::vector<int>(vecLines.size(), ThisThread())) << c.pszWhat;
    }
}

// One event on the adapter's thread: the handler's answer and lines; then,
// for a queued one, its delivery to a stored function on the main loop.
struct CEventCase {
    const char* pszWhat;
    KiteBridgeCallBack eCode;
    Sim::CEventData data;
    bool bQueued;
    std::size_t uLines;  // the handler's
};

const CEventCase EVENT_CASES[] = {
    {"buffering", DeviceAPI::Cinecast::KITE_BRIDGE_BUFFERING, Sim::Percent(40), true, 3},
    {"prepare complete", DeviceAPI::Cinecast::KITE_BRIDGE_PREPARE_COMPLETE, {}, true, 3},
    {"play complete", DeviceAPI::Cinecast::KITE_BRIDGE_PLAY_COMPLETE, {}, true, 3},
    {"seek complete", DeviceAPI::Cinecast::KITE_BRIDGE_SEEK_COMPLETE, {}, true, 4},
    {"current time", DeviceAPI::Cinecast::KITE_BRIDGE_CURRENT_TIME, Sim::Time(7), true, 4},
    {"error", DeviceAPI::Cinecast::KITE_BRIDGE_ERROR_EVENT, Sim::Event(1, "a", "b"), true, 5},
    {"asm pause", DeviceAPI::Cinecast::KITE_BRIDGE_ASM_PAUSE, Sim::Event(65, "a", "b"), true, 5},
    {"asm resume", DeviceAPI::Cinecast::KITE_BRIDGE_ASM_RESUME, Sim::Event(66, "a", "b"), true, 4},
    {"sound analysis", DeviceAPI::Cinecast::KITE_BRIDGE_SOUND_ANALYSIS, Sim::Bands({1, 2}), true, 5},
    {"buffering without its agent", DeviceAPI::Cinecast::KITE_BRIDGE_BUFFERING, Sim::WithNullUserData(Sim::Percent(1)),
     false, 2},
    {"prepare complete without its agent", DeviceAPI::Cinecast::KITE_BRIDGE_PREPARE_COMPLETE,
     Sim::WithNullUserData({}), false, 2},
    {"play complete without its agent", DeviceAPI::Cinecast::KITE_BRIDGE_PLAY_COMPLETE, Sim::WithNullUserData({}),
     false, 2},
    {"seek complete without its agent", DeviceAPI::Cinecast::KITE_BRIDGE_SEEK_COMPLETE, Sim::WithNullUserData({}),
     false, 2},
    {"current time without its agent", DeviceAPI::Cinecast::KITE_BRIDGE_CURRENT_TIME,
     Sim::WithNullUserData(Sim::Time(7)), false, 2},
    {"error without an event", DeviceAPI::Cinecast::KITE_BRIDGE_ERROR_EVENT, Sim::NullEvent(), false, 2},
    {"asm pause without an event", DeviceAPI::Cinecast::KITE_BRIDGE_ASM_PAUSE, Sim::NullEvent(), false, 2},
    {"asm resume without an event", DeviceAPI::Cinecast::KITE_BRIDGE_ASM_RESUME, Sim::NullEvent(), false, 2},
    {"sound analysis without bands", DeviceAPI::Cinecast::KITE_BRIDGE_SOUND_ANALYSIS, Sim::NullBands(), false, 2},
};

TEST_F(CAgentLogTest, EachHandlersAndDeliverysLinesNameTheirStatements)
{
    std::size_t uAdapter = 0;
    std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
    {
        CScope scope(*this);
        Bridge::ScriptFunction function(Run("() => 0").As<v8::Function>());
#define TETHER_TEST_STORE(property, code, slot, setter, handler) pAgent->setter(function);
        TETHER_CALLBACKS(TETHER_TEST_STORE)
#undef TETHER_TEST_STORE
    }
    for (const CEventCase& c : EVENT_CASES) {
        Dlog::TakeCaptured();
        EXPECT_EQ(Sim::emit(uAdapter, c.eCode, c.data), c.bQueued) << c.pszWhat;
        std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
        EXPECT_EQ(vecLines.size(), c.uLines) << c.pszWhat;
        EXPECT_TRUE(NameTheirStatements(vecLines)) << c.pszWhat;
        for (int iThread : ThreadsOf(vecLines))
            EXPECT_NE(iThread, ThisThread()) << c.pszWhat << ": on the adapter's thread";

        int iDelivered = 0;
        while (g_main_context_iteration(nullptr, FALSE))
            ++iDelivered;
        vecLines = Dlog::TakeCaptured();
        EXPECT_EQ(iDelivered, c.bQueued ? 1 : 0) << c.pszWhat;
        EXPECT_EQ(vecLines.size(), c.bQueued ? 3u : 0u) << c.pszWhat << ": ENTER, the call, LEAVE";
        EXPECT_TRUE(NameTheirStatements(vecLines)) << c.pszWhat;
    }
}

// A record that is no record is only announced.
TEST_F(CAgentLogTest, DeliveryOfANullRecord)
{
    EXPECT_EQ(CTether::FireOnCallbacks(nullptr), 0);
    const std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    EXPECT_EQ(Shown(vecLines), (std::vector<std::string>{"3 FireOnCallbacks ENTER!!!",
                                                         "5 FireOnCallbacks Got the callbackData is NULL"}));
    EXPECT_TRUE(NameTheirStatements(vecLines));
}

}  // namespace
}  // namespace TetherTest
