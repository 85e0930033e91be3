// Queries: duration, current position and player state, each answered as an
// integer in "return_data".
#include "PlayerAgent.h"

#include <cstring>
#include <string>

#include "AgentState.h"
#include "CommandResult.h"
#include "NumberConversion.h"
#include "TetherLog.h"

namespace Tether {

Bridge::ScriptObject CPlayerAgent::GetDuration(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    // Made once: the name is longer than a string holds without the heap.
    static const std::string strCmd = "player_get_duration";

    unsigned long ulDuration = 0;
    if (m_pCinecasterAdapter == nullptr || !m_pCinecasterAdapter->GetDuration(&ulDuration)) {
        LOG_W("m_pCinecasterAdapter->GetDuration failed!!!");
        Bridge::ScriptObject result = MakeCommandResult(COMMAND_FAILED);
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), COMMAND_FAILED);
        return result;
    }

    // Scripts get 32 bits; a duration of 2^31 or more comes out negative.
    int iDuration = LowInt32(ulDuration);
    // The second conversion of this line is incomplete; it is kept as
    // the platform's log readers know it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
    LOG_W("m_pCinecasterAdapter->GetDuration is  %d (%ll)!!!", iDuration, iDuration);
#pragma GCC diagnostic pop
    Bridge::ScriptObject result = MakeQueryResult(iDuration);
    LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd.c_str(), COMMAND_SUCCESS, iDuration);
    return result;
}

Bridge::ScriptObject CPlayerAgent::GetCurrentPosition(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    // Made once: the name is longer than a string holds without the heap.
    static const std::string strCmd = "player_get_current_position";

    unsigned long long ullPosition = 0;
    if (m_pCinecasterAdapter == nullptr ||
        !m_pCinecasterAdapter->GetCurrentPosition(&ullPosition)) {
        LOG_W("m_pCinecasterAdapter->GetCurrentPosition failed!!!");
        Bridge::ScriptObject result = MakeCommandResult(COMMAND_FAILED);
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), COMMAND_FAILED);
        return result;
    }

    // Scripts get the low 32 bits; the high ones are dropped.
    int iPosition = LowInt32(ullPosition);
    LOG_W("m_pCinecasterAdapter->GetCurrentPosition get current time is  %d (0x%x)!!!", iPosition,
          static_cast<unsigned>(iPosition));
    Bridge::ScriptObject result = MakeQueryResult(iPosition);
    LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd.c_str(), COMMAND_SUCCESS, iPosition);
    return result;
}

Bridge::ScriptObject CPlayerAgent::GetPlayerState(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    // Made once: the name is longer than a string holds without the heap.
    static const std::string strCmd = "player_get_player_state";

    // Until a URL is accepted the adapter has nothing to tell.
    if (m_ePlayerState == AGENT_STATE_NOT_CREATED) {
        LOG_W("Player didn't create yet!!");
        Bridge::ScriptObject result = MakeQueryResult(AGENT_STATE_NOT_CREATED);
        LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd.c_str(), COMMAND_SUCCESS,
              AGENT_STATE_NOT_CREATED);
        return result;
    }

    player_state_e eState = PLAYER_STATE_NONE;
    if (m_pCinecasterAdapter == nullptr || !m_pCinecasterAdapter->GetPlayerState(&eState)) {
        LOG_W("m_pCinecasterAdapter->GetPlayerState failed!!!");
        Bridge::ScriptObject result = MakeCommandResult(COMMAND_FAILED);
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), COMMAND_FAILED);
        return result;
    }

    // The adapter may write any int here, also values outside the enum's
    // range, which must not be loaded as the enum; the agent's own numbers
    // start at 5 and the adapter must not reach them.
    static_assert(sizeof(eState) == sizeof(int), "player_state_e is an int");
    int iState;
    std::memcpy(&iState, &eState, sizeof iState);
    if (iState > PLAYER_STATE_PAUSED) {
        LOG_W("m_pCinecasterAdapter->GetPlayerState failed!!! It has internal error.");
        Bridge::ScriptObject result = MakeCommandResult(COMMAND_FAILED);
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), COMMAND_FAILED);
        return result;
    }

    LOG_W("m_pCinecasterAdapter->GetPlayerState get state is %d!!!", iState);
    Bridge::ScriptObject result = MakeQueryResult(iState);
    LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd.c_str(), COMMAND_SUCCESS, iState);
    return result;
}

}  // namespace Tether
