// Suspend and restore, party mode, and the sound-analysis registration.
#include "PlayerAgent.h"

#include <string>

#include <v8.h>

#include "CommandResult.h"
#include "NumberConversion.h"
#include "TetherLog.h"

namespace Tether {

namespace {
bool IsScriptFunction(const Bridge::ScriptObject& value)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    v8::Local<v8::Value> handle = value.getValue();
    return !handle.IsEmpty() && handle->IsFunction();
}

bool IsScriptString(const Bridge::ScriptObject& value)
{
    v8::HandleScope scope(v8::Isolate::GetCurrent());
    v8::Local<v8::Value> handle = value.getValue();
    return !handle.IsEmpty() && handle->IsString();
}
}  // namespace

Bridge::ScriptObject CPlayerAgent::RegisterSoundAnalysisListener(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_register_sound_analysis_listener";

    // The function is only checked, never kept or called: results reach the
    // script through "onsound_analysis".
    int iCode;
    if (aArgs.Length() <= 1 || !IsScriptFunction(aArgs.get(0))) {
        LOG_W("Invalid param. aArgs.Length() <= 1 ");
        iCode = COMMAND_INVALID_PARAM;
    } else if (m_pCinecasterAdapter != nullptr &&
               m_pCinecasterAdapter->registerSoundAnalysisListener(
                   static_cast<DeviceAPI::Cinecast::CinecastSoundAnalysisCallback*>(nullptr))) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->registerSoundAnalysisListener!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Suspend(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_suspend";

    // Any argument will do; none is read.
    int iCode;
    if (aArgs.Length() == 0) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
        iCode = COMMAND_INVALID_PARAM;
    } else if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->suspend()) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->suspend failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Restore(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_restore";
    std::string strUrl;
    double dResumeTime = 0.0;
    bool bPrepare = false;

    int iCode;
    if (aArgs.Length() < 1) {
        // Restoring with nothing to restore from would only hide a script
        // error, so the call is rejected.
        LOG_W("aArgs.Length() < 1 , use default parameter");
        iCode = COMMAND_INVALID_PARAM;
    } else {
        Bridge::ScriptObject params = aArgs.get(0);
        params.tryGetString("param_restore_url", strUrl);
        params.tryGetNumber("param_restore_resume_time", dResumeTime);
        params.tryGetBool("param_restore_prepare", bPrepare);
        LOG_W("Use the parameters which got from aArgs, restore_url:%s, resumetime:%f, prepare:%d ",
              strUrl.c_str(), dResumeTime, bPrepare ? 1 : 0);
        // The adapter's long is 64 bits on the desktop; keep the player's 32-bit range.
        long lResumeTime = DoubleToInt32(dResumeTime);
        if (m_pCinecasterAdapter != nullptr &&
            m_pCinecasterAdapter->restore(strUrl, lResumeTime, bPrepare)) {
            LOG_LEAVE();
            iCode = COMMAND_SUCCESS;
        } else {
            LOG_W("m_pCinecasterAdapter->restore failed!!!");
            iCode = COMMAND_FAILED;
        }
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetPartyTVMode(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_set_party_tv_mode";
    bool bPartyMode = false;
    LOG_I("param length is %d", aArgs.Length());

    // Without arguments the mode stays off and the adapter is still told.
    if (aArgs.Length() == 0) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
    } else {
        Bridge::ScriptObject modeArg = aArgs.get(0);
        if (IsScriptString(modeArg)) {
            std::string strArg = modeArg.asString();
            LOG_D("Get aArgs[0] is '%s'!!!", strArg.c_str());
        }
        modeArg.tryGetBool("param_party_mode", bPartyMode);
        LOG_W("Get the party mode is %d!!!", bPartyMode ? 1 : 0);
    }

    int iCode;
    if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->SetSoundAnalysis(bPartyMode)) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->SetSoundAnalysis failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

}  // namespace Tether
