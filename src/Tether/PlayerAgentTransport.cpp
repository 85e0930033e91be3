// Playback commands: prepare, play, pause, resume, stop, seek, skip and
// streaming properties. Each makes at most one adapter call.
#include "PlayerAgent.h"

#include <string>

#include "CommandResult.h"
#include "NumberConversion.h"
#include "TetherLog.h"

namespace Tether {

Bridge::ScriptObject CPlayerAgent::Prepare(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_prepare";

    int iCode = COMMAND_SUCCESS;
    if (m_pCinecasterAdapter == nullptr || !m_pCinecasterAdapter->prepare()) {
        LOG_W("m_pCinecasterAdapter->prepare failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::PrepareAsync(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_prepare_async";

    // Completion arrives later through Prepare_Complete_CB.
    int iCode = COMMAND_SUCCESS;
    if (m_pCinecasterAdapter == nullptr ||
        !m_pCinecasterAdapter->registerPrepareListener(
            static_cast<DeviceAPI::Common::MultiCallbackUserData*>(nullptr))) {
        LOG_W("m_pCinecasterAdapter->prepareasync failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetOutputArea(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_set_output_area";

    // The player owns its output area; the call is kept for old scripts.
    LOG_W("Do not call SetOutputArea when you use Tether. This method is deprecated in Tether.");
    LOG_LEAVE();
    int iCode = COMMAND_SUCCESS;
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetStreamingProperty(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_set_streaming_property";
    LOG_I("param length is %d", aArgs.Length());

    int iCode;
    if (aArgs.Length() == 0) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
        iCode = COMMAND_INVALID_PARAM;
    } else {
        // With a single argument the second reads as undefined and the
        // parameter stays empty.
        Bridge::ScriptObject typeArg = aArgs.get(0);
        Bridge::ScriptObject paramArg = aArgs.get(1);
        std::string strType;
        std::string strParam;
        typeArg.tryGetString("param_property_type", strType);
        paramArg.tryGetString("param_property_param", strParam);
        LOG_D("Get streaming property type is : %s , param is : %s !!!", strType.c_str(),
              strParam.c_str());
        if (m_pCinecasterAdapter != nullptr &&
            m_pCinecasterAdapter->setStreamingProperty(strType, strParam)) {
            LOG_LEAVE();
            iCode = COMMAND_SUCCESS;
        } else {
            LOG_W("m_pCinecasterAdapter->setStreamingProperty failed!!!");
            iCode = COMMAND_FAILED;
        }
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Pause(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_pause";

    int iCode;
    if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->Pause()) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->Pause failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Resume(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_resume";

    // The adapter has no resume of its own: playing a paused player resumes it.
    int iCode;
    if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->play()) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->play failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Stop(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_stop";

    int iCode;
    if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->Stop()) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->Stop failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Play(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_play";

    int iCode;
    if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->play()) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->play failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SeekTo(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_seek_to";

    int iCode;
    if (aArgs.Length() == 0) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
        iCode = COMMAND_INVALID_PARAM;
    } else {
        double dPosition = 0.0;
        aArgs.get(0).tryGetNumber("param_seek_to", dPosition);
        LOG_D("Get seek to param is %f !!!", dPosition);
        // The adapter's long is 64 bits on the desktop; keep the player's 32-bit range.
        long lPosition = DoubleToInt32(dPosition);
        // Completion arrives later through Seek_Complete_CB.
        if (m_pCinecasterAdapter != nullptr &&
            m_pCinecasterAdapter->seekTo(
                lPosition, static_cast<DeviceAPI::Common::MultiCallbackUserData*>(nullptr))) {
            LOG_LEAVE();
            iCode = COMMAND_SUCCESS;
        } else {
            LOG_W("m_pCinecasterAdapter->seekTo!!!");
            iCode = COMMAND_FAILED;
        }
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Skip(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_skip";

    int iCode;
    if (aArgs.Length() == 0) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
        iCode = COMMAND_INVALID_PARAM;
    } else {
        double dAmount = 0.0;
        aArgs.get(0).tryGetNumber("param_skip", dAmount);
        int iAmount = DoubleToInt32(dAmount);
        LOG_D("Get seek to param is %d !!!", iAmount);
        if (m_pCinecasterAdapter != nullptr &&
            m_pCinecasterAdapter->Skip(
                iAmount, static_cast<DeviceAPI::Common::MultiCallbackUserData*>(nullptr))) {
            LOG_LEAVE();
            iCode = COMMAND_SUCCESS;
        } else {
            LOG_W("m_pCinecasterAdapter->Skip!!!");
            iCode = COMMAND_FAILED;
        }
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

}  // namespace Tether
