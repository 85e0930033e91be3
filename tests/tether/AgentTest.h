// A V8 test with player agents on the simulated player and the plug-in's log
// lines captured.
#ifndef TETHER_TESTS_AGENT_TEST_H
#define TETHER_TESTS_AGENT_TEST_H

#include <Bridge/ScriptArray.h>
#include <Cinecast/SimAdapter.h>
#include <DlogSink.h>
#include <PlayerAgent.h>

#include <cstddef>
#include <memory>
#include <string>

#include "V8Test.h"

namespace TetherTest {

namespace Sim = DeviceAPI::Cinecast::Sim;

class CAgentTest : public TestSupport::CV8Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A new agent and the index of its simulated adapter.
    std::unique_ptr<Tether::CPlayerAgent> NewAgent(std::size_t* puAdapter);

    // The elements of a script array literal, for example "[{param_seek_to: 5}]",
    // as a command's argument list. Needs a CScope.
    Bridge::ScriptArray Args(const std::string& strArrayLiteral);

    // A command's result as JSON text, for example {"return_ecode":0}.
    // Needs a CScope.
    std::string Json(const Bridge::ScriptObject& result);

    // The test's own players: every agent's adapter is numbered here.
    Sim::CPlayers m_players;
};

}  // namespace TetherTest

#endif
