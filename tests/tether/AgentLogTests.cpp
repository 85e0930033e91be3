// Every log line of the agent, its handlers and the delivery names the
// statement that writes it: for each command (accepted, refused by the
// adapter, rejected), each event handler (with its event and without) and
// each delivery, the lines of one call name different source lines, each of
// which holds the format its payload was written with. The scripts check
// the payloads and threads of every path.
#include <glib.h>

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

using CAgentLogTest = CAgentTest;

// A command called through its handler on a new agent, with the row's
// arguments: as the adapter accepts it, as the adapter refuses the row's
// operation (both after an accepted URL, the adapter reporting state 3),
// and without arguments on a new agent; each answers its row's code.
struct CCommandCase {
    Handler pHandler;
    const char* pszArgs;     // a script array literal
    const char* pszRefused;  // the adapter operation that answers false
    int aiCodes[3];          // "return_ecode": accepted, refused, without arguments
};

const CCommandCase COMMAND_CASES[] = {
    {&CTether::HandleCreate, "[1]", "create", {0, -1, 0}},
    {&CTether::HandleSetURI, "[{param_url: 'u'}]", "setUri", {0, -1, -2}},
    {&CTether::HandlePrepare, "[]", "prepare", {0, -1, 0}},
    {&CTether::HandlePrepareAsync, "[]", "registerPrepareListener", {0, -1, 0}},
    {&CTether::HandleSetOutputArea, "[]", "prepare", {0, 0, 0}},
    {&CTether::HandleSetStreamingProperty, "[{param_property_type: 'T'}, {}]", "setStreamingProperty", {0, -1, -2}},
    {&CTether::HandlePause, "[]", "Pause", {0, -1, 0}},
    {&CTether::HandleResume, "[]", "play", {0, -1, 0}},
    {&CTether::HandleStop, "[]", "Stop", {0, -1, 0}},
    {&CTether::HandlePlay, "[]", "play", {0, -1, 0}},
    {&CTether::HandleSeekTo, "[{param_seek_to: 12.7}]", "seekTo", {0, -1, -2}},
    {&CTether::HandleSkip, "[{param_skip: -3}]", "Skip", {0, -1, -2}},
    {&CTether::HandleGetDuration, "[]", "GetDuration", {0, -1, 0}},
    {&CTether::HandleGetCurrentPosition, "[]", "GetCurrentPosition", {0, -1, 0}},
    {&CTether::HandleGetPlayerState, "[]", "GetPlayerState", {0, -1, 0}},
    {&CTether::HandleRegisterSoundAnalysisListener, "[() => 0, 1]", "registerSoundAnalysisListener", {0, -1, -2}},
    {&CTether::HandleSuspend, "[{}]", "suspend", {0, -1, -2}},
    {&CTether::HandleRestore, "[{param_restore_url: 'r'}]", "restore", {0, -1, -2}},
    {&CTether::HandleClose, "[]", "close", {0, -1, 0}},
    {&CTether::HandleSetPartyTVMode, "['on']", "SetSoundAnalysis", {0, -1, 0}},
};

// The agent's construction and destruction are checked on the way.
TEST_F(CAgentLogTest, EachCommandsLinesNameTheirStatements)
{
    for (const CCommandCase& c : COMMAND_CASES) {
        for (int iPath = 0; iPath < 3; ++iPath) {
            CScope scope(*this);
            std::size_t uAdapter = 0;
            std::unique_ptr<Tether::CPlayerAgent> pAgent = NewAgent(&uAdapter);
            EXPECT_TRUE(NameTheirStatements(Dlog::TakeCaptured()));
            if (iPath != 2)
                pAgent->SetURI(Args("[{param_url: 'u'}]"));
            Sim::CReport report;
            report.m_iState = 3;
            m_players.report(uAdapter, report);
            if (iPath == 1)
                m_players.answer(uAdapter, c.pszRefused, false);
            Bridge::ScriptArray aArgs = Args(iPath == 2 ? "[]" : c.pszArgs);
            Dlog::TakeCaptured();
            const std::string strResult = Json(c.pHandler(pAgent.get(), aArgs));
            const std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
            const std::string strWhat = std::string(c.pszArgs) + " path " + std::to_string(iPath);
            EXPECT_EQ(strResult.rfind("{\"return_ecode\":" + std::to_string(c.aiCodes[iPath]), 0), 0u) << strWhat;
            EXPECT_TRUE(NameTheirStatements(vecLines)) << strWhat;
            pAgent.reset();
            EXPECT_TRUE(NameTheirStatements(Dlog::TakeCaptured())) << strWhat;
        }
    }
}

// One event on the adapter's thread: the handler's answer and lines; then,
// for a queued one, its delivery to a stored function on the main loop.
// Each queued case runs again without its agent, which only the guard sees.
struct CEventCase {
    KiteBridgeCallBack eCode;
    Sim::CEventData data;
    bool bQueued;
    std::size_t uLines;  // the handler's
};

const CEventCase EVENT_CASES[] = {
    {DeviceAPI::Cinecast::KITE_BRIDGE_BUFFERING, Sim::Percent(40), true, 3},
    {DeviceAPI::Cinecast::KITE_BRIDGE_PREPARE_COMPLETE, {}, true, 3},
    {DeviceAPI::Cinecast::KITE_BRIDGE_PLAY_COMPLETE, {}, true, 3},
    {DeviceAPI::Cinecast::KITE_BRIDGE_SEEK_COMPLETE, {}, true, 4},
    {DeviceAPI::Cinecast::KITE_BRIDGE_CURRENT_TIME, Sim::Time(7), true, 4},
    {DeviceAPI::Cinecast::KITE_BRIDGE_ERROR_EVENT, Sim::Event(1, "a", "b"), true, 5},
    {DeviceAPI::Cinecast::KITE_BRIDGE_ASM_PAUSE, Sim::Event(65, "a", "b"), true, 5},
    {DeviceAPI::Cinecast::KITE_BRIDGE_ASM_RESUME, Sim::Event(66, "a", "b"), true, 4},
    {DeviceAPI::Cinecast::KITE_BRIDGE_SOUND_ANALYSIS, Sim::Bands({1, 2}), true, 5},
    {DeviceAPI::Cinecast::KITE_BRIDGE_ERROR_EVENT, Sim::NullEvent(), false, 2},
    {DeviceAPI::Cinecast::KITE_BRIDGE_ASM_PAUSE, Sim::NullEvent(), false, 2},
    {DeviceAPI::Cinecast::KITE_BRIDGE_ASM_RESUME, Sim::NullEvent(), false, 2},
    {DeviceAPI::Cinecast::KITE_BRIDGE_SOUND_ANALYSIS, Sim::NullBands(), false, 2},
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
        for (bool bAgent : {true, false}) {
            if (!bAgent && !c.bQueued)
                continue;
            const bool bQueued = c.bQueued && bAgent;
            const std::string strWhat = "code " + std::to_string(c.eCode) + (bAgent ? "" : " without its agent");
            Dlog::TakeCaptured();
            EXPECT_EQ(m_players.emit(uAdapter, c.eCode, bAgent ? c.data : Sim::WithNullUserData(c.data)), bQueued)
                << strWhat;
            std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
            EXPECT_EQ(vecLines.size(), bQueued ? c.uLines : 2u) << strWhat;
            EXPECT_TRUE(NameTheirStatements(vecLines)) << strWhat;

            int iDelivered = 0;
            while (g_main_context_iteration(nullptr, FALSE))
                ++iDelivered;
            vecLines = Dlog::TakeCaptured();
            EXPECT_EQ(iDelivered, bQueued ? 1 : 0) << strWhat;
            EXPECT_EQ(vecLines.size(), bQueued ? 3u : 0u) << strWhat << ": ENTER, the call, LEAVE";
            EXPECT_TRUE(NameTheirStatements(vecLines)) << strWhat;
        }
    }
}

// A record that is no record is only announced.
TEST_F(CAgentLogTest, DeliveryOfANullRecord)
{
    EXPECT_EQ(CTether::FireOnCallbacks(nullptr), 0);
    const std::vector<Dlog::CLogLine> vecLines = Dlog::TakeCaptured();
    std::vector<std::string> vecShown;
    for (const Dlog::CLogLine& line : vecLines) {
        CFrame frame{};
        TestSupport::ParseFrame(line, frame);
        vecShown.push_back(std::to_string(frame.m_iPriority) + " " + frame.m_strFunction + " " + frame.m_strPayload);
    }
    EXPECT_EQ(vecShown, (std::vector<std::string>{"3 FireOnCallbacks ENTER!!!",
                                                  "5 FireOnCallbacks Got the callbackData is NULL"}));
    EXPECT_TRUE(NameTheirStatements(vecLines));
}

}  // namespace
}  // namespace TetherTest
