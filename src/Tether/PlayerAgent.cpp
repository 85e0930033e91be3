// The player agent: its adapter, the twenty commands and the nine player
// event handlers. Every line the agent logs is written from this file, by a
// statement of the member its frame names; the helpers here write none.
#include "PlayerAgent.h"

#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "CallbackRecord.h"
#include "CommandResult.h"
#include "LiveAgents.h"
#include "NumberConversion.h"
#include "ScriptKinds.h"
#include "TetherLog.h"

namespace Tether {

using DeviceAPI::Cinecast::CinecasterAdapter;
using DeviceAPI::Cinecast::KiteBridgeEvent;

namespace {

// The agent's own record of how far its player has come; the adapter's
// states (0 to 4) are never stored in it.
const int AGENT_STATE_NOT_CREATED = 5;  // no URL accepted yet
const int AGENT_STATE_URI_SET = 6;      // the adapter accepted a URL

// Completions and sound-analysis results come through the event handlers:
// the adapter's user-data and listener arguments stay null.
DeviceAPI::Common::MultiCallbackUserData* const NO_USER_DATA = nullptr;
DeviceAPI::Cinecast::CinecastSoundAnalysisCallback* const NO_LISTENER = nullptr;

// The code of a command whose arguments passed: the adapter's answer.
int CodeOf(bool bAccepted)
{
    return bAccepted ? COMMAND_SUCCESS : COMMAND_FAILED;
}

// "EventType:" + the type as one character (its low 8 bits, as the TV's
// scripts already parse it) + "," + param1 + "," + param2 + ";".
std::string AsmEventText(const KiteBridgeEvent& event)
{
    std::string strRes = "EventType:";
    strRes.push_back(static_cast<char>(static_cast<unsigned char>(event.type & 0xFF)));
    strRes += ",";
    strRes += event.param1;
    strRes += ",";
    strRes += event.param2;
    strRes += ";";
    return strRes;
}

// The bands joined by "|"; no bands give the empty text.
std::string BandsText(const int* pBands, int iCount)
{
    std::string strRes;
    for (int i = 0; i < iCount; ++i) {
        if (i > 0)
            strRes += "|";
        strRes += std::to_string(pBands[i]);
    }
    return strRes;
}

}  // namespace

CPlayerAgent::CPlayerAgent()
    : m_pCinecasterAdapter(nullptr),
      m_ePlayerState(AGENT_STATE_NOT_CREATED),
      m_ullSerial(LiveAgents::Add())
{
    try {
        m_pCinecasterAdapter = new (std::nothrow) CinecasterAdapter();
    } catch (...) {
        // The destructor will not run: forget the serial here.
        LiveAgents::Remove(m_ullSerial);
        throw;
    }
    if (m_pCinecasterAdapter == nullptr) {
        LOG_W("create m_pCinecasterAdapter ERROR!!!");
        return;
    }

    LOG_D("SetKiteBridge as true!!!");
    m_pCinecasterAdapter->SetKiteBridge(true);

    LOG_D("RegisterKiteBridgeCallback Buffering_CB !!!");
#define TETHER_COUNT_CALLBACK(property, code, slot, setter, handler) +1
    static_assert(0 TETHER_CALLBACKS(TETHER_COUNT_CALLBACK) == DeviceAPI::Cinecast::KITE_BRIDGE_CALLBACK_COUNT,
                  "one handler per event code");
#undef TETHER_COUNT_CALLBACK
#define TETHER_REGISTER_HANDLER(property, code, slot, setter, handler) \
    m_pCinecasterAdapter->RegisterKiteBridgeCallback(DeviceAPI::Cinecast::code, reinterpret_cast<void*>(&handler), \
                                                     this);
    TETHER_CALLBACKS(TETHER_REGISTER_HANDLER)
#undef TETHER_REGISTER_HANDLER
}

CPlayerAgent::~CPlayerAgent()
{
    // Records still queued for this agent name its serial; once it is gone
    // they are freed without touching the slots below.
    LiveAgents::Remove(m_ullSerial);
    LOG_W("Start to destroy CPlayerAgent[%p].", static_cast<void*>(this));
    // The adapter calls no handler once its destructor has returned.
    delete m_pCinecasterAdapter;
    m_pCinecasterAdapter = nullptr;
    LOG_W("End to destroy CPlayerAgent[%p].", static_cast<void*>(this));
}

#define TETHER_DEFINE_SETTER(property, code, slot, setter, handler)     \
    void CPlayerAgent::setter(const Bridge::ScriptFunction& function) \
    {                                                                 \
        slot = function;                                              \
    }
TETHER_CALLBACKS(TETHER_DEFINE_SETTER)
#undef TETHER_DEFINE_SETTER

// Every command: ENTER, its argument test and reads, at most one adapter
// call, then its result and the closing line, which comes after the result
// is made: a result that cannot be made ends the call with no line claiming
// one. Without an adapter (its allocation failed) a command answers as if
// the adapter had refused and never calls through the null pointer.

Bridge::ScriptObject CPlayerAgent::Create(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_create";
    LOG_I("param length is %d", aArgs.Length());
    // No failure line: a refusal shows in the closing line only.
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->create());
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetURI(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_set_uri";
    LOG_I("param length is %d", aArgs.Length());
    int iCode = COMMAND_INVALID_PARAM;
    if (aArgs.Length() < 1) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
    } else {
        // A missing or non-string "param_url" leaves the URL empty; the
        // adapter decides what an empty URL means.
        std::string strUrl;
        aArgs.get(0).tryGetString("param_url", strUrl);
        LOG_W("Get the URL is %s!!!", strUrl.c_str());
        iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->setUri(strUrl));
        if (iCode == COMMAND_SUCCESS)
            m_ePlayerState = AGENT_STATE_URI_SET;
        else
            LOG_W("m_pCinecasterAdapter->open failed!!!");
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Close(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_close";
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->close());
    if (iCode == COMMAND_SUCCESS)
        LOG_D("LEAVE!!!");
    else
        LOG_W("m_pCinecasterAdapter->close failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Prepare(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_prepare";
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->prepare());
    if (iCode != COMMAND_SUCCESS)
        LOG_W("m_pCinecasterAdapter->prepare failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::PrepareAsync(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_prepare_async";
    // Completion arrives later through Prepare_Complete_CB.
    const int iCode =
        CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->registerPrepareListener(NO_USER_DATA));
    if (iCode != COMMAND_SUCCESS)
        LOG_W("m_pCinecasterAdapter->prepareasync failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetOutputArea(const Bridge::ScriptArray&)
{
    // The player owns its output area; the call is kept for old scripts and
    // answers 0 without asking the adapter.
    LOG_D("ENTER!!!");
    const char* strCmd = "player_set_output_area";
    LOG_W("Do not call SetOutputArea when you use Tether. This method is deprecated in Tether.");
    LOG_D("LEAVE!!!");
    Bridge::ScriptObject result = MakeCommandResult(COMMAND_SUCCESS);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, COMMAND_SUCCESS);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetStreamingProperty(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_set_streaming_property";
    LOG_I("param length is %d", aArgs.Length());
    int iCode = COMMAND_INVALID_PARAM;
    if (aArgs.Length() < 1) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
    } else {
        // With a single argument the second reads as undefined and the
        // parameter stays empty.
        std::string strType;
        std::string strParam;
        Bridge::ScriptObject typeArg = aArgs.get(0);
        Bridge::ScriptObject paramArg = aArgs.get(1);
        typeArg.tryGetString("param_property_type", strType);
        paramArg.tryGetString("param_property_param", strParam);
        LOG_D("Get streaming property type is : %s , param is : %s !!!", strType.c_str(), strParam.c_str());
        iCode = CodeOf(m_pCinecasterAdapter != nullptr &&
                       m_pCinecasterAdapter->setStreamingProperty(strType, strParam));
        if (iCode == COMMAND_SUCCESS)
            LOG_D("LEAVE!!!");
        else
            LOG_W("m_pCinecasterAdapter->setStreamingProperty failed!!!");
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Pause(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_pause";
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->Pause());
    if (iCode == COMMAND_SUCCESS)
        LOG_D("LEAVE!!!");
    else
        LOG_W("m_pCinecasterAdapter->Pause failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Resume(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_resume";
    // The adapter has no resume of its own: playing a paused player resumes it.
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->play());
    if (iCode == COMMAND_SUCCESS)
        LOG_D("LEAVE!!!");
    else
        LOG_W("m_pCinecasterAdapter->play failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Stop(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_stop";
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->Stop());
    if (iCode == COMMAND_SUCCESS)
        LOG_D("LEAVE!!!");
    else
        LOG_W("m_pCinecasterAdapter->Stop failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Play(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_play";
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->play());
    if (iCode == COMMAND_SUCCESS)
        LOG_D("LEAVE!!!");
    else
        LOG_W("m_pCinecasterAdapter->play failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SeekTo(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_seek_to";
    int iCode = COMMAND_INVALID_PARAM;
    if (aArgs.Length() < 1) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
    } else {
        double dPosition = 0.0;
        aArgs.get(0).tryGetNumber("param_seek_to", dPosition);
        LOG_D("Get seek to param is %f !!!", dPosition);
        // The adapter's long is 64 bits on the desktop; keep the player's 32-bit range.
        const long lPosition = DoubleToInt32(dPosition);
        // Completion arrives later through Seek_Complete_CB.
        iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->seekTo(lPosition, NO_USER_DATA));
        if (iCode == COMMAND_SUCCESS)
            LOG_D("LEAVE!!!");
        else
            LOG_W("m_pCinecasterAdapter->seekTo!!!");
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Skip(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_skip";
    int iCode = COMMAND_INVALID_PARAM;
    if (aArgs.Length() < 1) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
    } else {
        double dAmount = 0.0;
        aArgs.get(0).tryGetNumber("param_skip", dAmount);
        const int iAmount = DoubleToInt32(dAmount);
        LOG_D("Get seek to param is %d !!!", iAmount);
        iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->Skip(iAmount, NO_USER_DATA));
        if (iCode == COMMAND_SUCCESS)
            LOG_D("LEAVE!!!");
        else
            LOG_W("m_pCinecasterAdapter->Skip!!!");
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

// A query answers "return_data" on success and closes with it.

Bridge::ScriptObject CPlayerAgent::GetDuration(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_get_duration";
    unsigned long ulDuration = 0;
    if (m_pCinecasterAdapter == nullptr || !m_pCinecasterAdapter->GetDuration(&ulDuration)) {
        LOG_W("m_pCinecasterAdapter->GetDuration failed!!!");
        Bridge::ScriptObject result = MakeCommandResult(COMMAND_FAILED);
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, COMMAND_FAILED);
        return result;
    }
    // Scripts get 32 bits; a duration of 2^31 or more comes out negative.
    const int iDuration = LowInt32(ulDuration);
    // The second conversion of this line is incomplete; it is kept as the
    // platform's log readers know it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
    LOG_W("m_pCinecasterAdapter->GetDuration is  %d (%ll)!!!", iDuration, iDuration);
#pragma GCC diagnostic pop
    Bridge::ScriptObject result = MakeQueryResult(iDuration);
    LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd, COMMAND_SUCCESS, iDuration);
    return result;
}

Bridge::ScriptObject CPlayerAgent::GetCurrentPosition(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_get_current_position";
    unsigned long long ullPosition = 0;
    if (m_pCinecasterAdapter == nullptr || !m_pCinecasterAdapter->GetCurrentPosition(&ullPosition)) {
        LOG_W("m_pCinecasterAdapter->GetCurrentPosition failed!!!");
        Bridge::ScriptObject result = MakeCommandResult(COMMAND_FAILED);
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, COMMAND_FAILED);
        return result;
    }
    // Scripts get the low 32 bits; the high ones are dropped.
    const int iPosition = LowInt32(ullPosition);
    LOG_W("m_pCinecasterAdapter->GetCurrentPosition get current time is  %d (0x%x)!!!", iPosition,
          static_cast<unsigned>(iPosition));
    Bridge::ScriptObject result = MakeQueryResult(iPosition);
    LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd, COMMAND_SUCCESS, iPosition);
    return result;
}

Bridge::ScriptObject CPlayerAgent::GetPlayerState(const Bridge::ScriptArray&)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_get_player_state";

    // Until a URL is accepted the adapter has nothing to tell.
    if (m_ePlayerState == AGENT_STATE_NOT_CREATED) {
        LOG_W("Player didn't create yet!!");
        Bridge::ScriptObject result = MakeQueryResult(AGENT_STATE_NOT_CREATED);
        LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd, COMMAND_SUCCESS, AGENT_STATE_NOT_CREATED);
        return result;
    }

    player_state_e eState = PLAYER_STATE_NONE;
    if (m_pCinecasterAdapter == nullptr || !m_pCinecasterAdapter->GetPlayerState(&eState)) {
        LOG_W("m_pCinecasterAdapter->GetPlayerState failed!!!");
        Bridge::ScriptObject result = MakeCommandResult(COMMAND_FAILED);
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, COMMAND_FAILED);
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
        LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, COMMAND_FAILED);
        return result;
    }

    LOG_W("m_pCinecasterAdapter->GetPlayerState get state is %d!!!", iState);
    Bridge::ScriptObject result = MakeQueryResult(iState);
    LOG_W("strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd, COMMAND_SUCCESS, iState);
    return result;
}

Bridge::ScriptObject CPlayerAgent::RegisterSoundAnalysisListener(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_register_sound_analysis_listener";
    int iCode = COMMAND_INVALID_PARAM;
    // The function is only checked, never kept or called: results reach the
    // script through "onsound_analysis".
    if (aArgs.Length() < 2 || !IsScriptFunction(aArgs.get(0))) {
        LOG_W("Invalid param. aArgs.Length() <= 1 ");
    } else {
        iCode = CodeOf(m_pCinecasterAdapter != nullptr &&
                       m_pCinecasterAdapter->registerSoundAnalysisListener(NO_LISTENER));
        if (iCode == COMMAND_SUCCESS)
            LOG_D("LEAVE!!!");
        else
            LOG_W("m_pCinecasterAdapter->registerSoundAnalysisListener!!!");
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Suspend(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_suspend";
    int iCode = COMMAND_INVALID_PARAM;
    // Any argument will do; none is read.
    if (aArgs.Length() < 1) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
    } else {
        iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->suspend());
        if (iCode == COMMAND_SUCCESS)
            LOG_D("LEAVE!!!");
        else
            LOG_W("m_pCinecasterAdapter->suspend failed!!!");
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Restore(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_restore";
    int iCode = COMMAND_INVALID_PARAM;
    // Restoring with nothing to restore from would only hide a script error,
    // so a call without arguments is rejected, whatever its line announces.
    if (aArgs.Length() < 1) {
        LOG_W("aArgs.Length() < 1 , use default parameter");
    } else {
        std::string strUrl;
        double dResumeTime = 0.0;
        bool bPrepare = false;
        Bridge::ScriptObject params = aArgs.get(0);
        params.tryGetString("param_restore_url", strUrl);
        params.tryGetNumber("param_restore_resume_time", dResumeTime);
        params.tryGetBool("param_restore_prepare", bPrepare);
        LOG_W("Use the parameters which got from aArgs, restore_url:%s, resumetime:%f, prepare:%d ", strUrl.c_str(),
              dResumeTime, bPrepare ? 1 : 0);
        // The adapter's long is 64 bits on the desktop; keep the player's 32-bit range.
        const long lResumeTime = DoubleToInt32(dResumeTime);
        iCode = CodeOf(m_pCinecasterAdapter != nullptr &&
                       m_pCinecasterAdapter->restore(strUrl, lResumeTime, bPrepare));
        if (iCode == COMMAND_SUCCESS)
            LOG_D("LEAVE!!!");
        else
            LOG_W("m_pCinecasterAdapter->restore failed!!!");
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetPartyTVMode(const Bridge::ScriptArray& aArgs)
{
    LOG_D("ENTER!!!");
    const char* strCmd = "player_set_party_tv_mode";
    LOG_I("param length is %d", aArgs.Length());
    bool bPartyMode = false;
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
    const int iCode = CodeOf(m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->SetSoundAnalysis(bPartyMode));
    if (iCode == COMMAND_SUCCESS)
        LOG_D("LEAVE!!!");
    else
        LOG_W("m_pCinecasterAdapter->SetSoundAnalysis failed!!!");
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

// Player events, on the adapter's threads. Each handler turns its event into
// one text and queues it for its stored callback; it never touches a script
// value or the stored callback itself, only the slot's address and the
// agent's serial, both fixed since construction.

bool CPlayerAgent::Buffering_CB(int percent, void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    std::string strRes = std::to_string(percent);
    LOG_W("Get the buffering percent is %d, %s.", percent, strRes.c_str());
    QueueCallback(&pAgent->onbuffering_callback, pAgent->m_ullSerial, std::move(strRes));
    LOG_W("End clutter_threads_add_idle_full.");
    return true;
}

bool CPlayerAgent::Prepare_Complete_CB(void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Ready to call Prepare Complete callback.");
    QueueCallback(&pAgent->onprepare_complete_callback, pAgent->m_ullSerial, std::string());
    LOG_W("End clutter_threads_add_idle_full.");
    return true;
}

bool CPlayerAgent::Play_Complete_CB(void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Ready to call Play Complete callback.");
    QueueCallback(&pAgent->onplay_complete_callback, pAgent->m_ullSerial, std::string());
    LOG_W("End clutter_threads_add_idle_full.");
    return true;
}

bool CPlayerAgent::Seek_Complete_CB(void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Ready to call Seek Complete callback.");
    QueueCallback(&pAgent->onseek_complete_callback, pAgent->m_ullSerial, std::string());
    LOG_W("End clutter_threads_add_idle_full.");
    LOG_D("LEAVE!!!");
    return true;
}

bool CPlayerAgent::Current_Time_CB(unsigned long long time, void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    // Scripts get the low 32 bits, as for the position query.
    const int iTime = LowInt32(time);
    std::string strRes = std::to_string(iTime);
    LOG_W("Ready to call js callback, strRes:%s, %d", strRes.c_str(), iTime);
    QueueCallback(&pAgent->oncurrent_time_callback, pAgent->m_ullSerial, std::move(strRes));
    LOG_W("Complete call js callback");
    LOG_D("LEAVE!!!");
    return true;
}

bool CPlayerAgent::Error_Event_CB(KiteBridgeEvent* event, void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr || event == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Got the Error event is type: %d, param1: %s, param2: %s", event->type, event->param1.c_str(),
          event->param2.c_str());
    // Only param1 reaches the script.
    const std::string& strRes = event->param1;
    LOG_W("Ready to call onerror_event_callback, strRes:%s", strRes.c_str());
    QueueCallback(&pAgent->onerror_event_callback, pAgent->m_ullSerial, strRes);
    LOG_W("Complete call js callback");
    LOG_D("LEAVE!!!");
    return true;
}

bool CPlayerAgent::ASM_Pause_CB(KiteBridgeEvent* event, void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr || event == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Got the event is type: %d, param1: %s, param2: %s", event->type, event->param1.c_str(),
          event->param2.c_str());
    std::string strRes = AsmEventText(*event);
    LOG_W("Ready to call onasm_pause_callback, strRes:%s", strRes.c_str());
    QueueCallback(&pAgent->onasm_pause_callback, pAgent->m_ullSerial, std::move(strRes));
    LOG_W("Complete call js callback");
    LOG_D("LEAVE!!!");
    return true;
}

bool CPlayerAgent::ASM_Resume_CB(KiteBridgeEvent* event, void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr || event == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Got the event is type: %d, param1: %s, param2: %s", event->type, event->param1.c_str(),
          event->param2.c_str());
    QueueCallback(&pAgent->onasm_resume_callback, pAgent->m_ullSerial, AsmEventText(*event));
    LOG_W("Complete call js callback");
    LOG_D("LEAVE!!!");
    return true;
}

bool CPlayerAgent::SoundAnalysisCB(const int* bands, int count, void* pThis)
{
    LOG_D("ENTER!!!");
    if (pThis == nullptr || bands == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    std::string strRes = BandsText(bands, count);
    LOG_W("band array size = [%d]\n", count);
    LOG_W("Ready to call onsound_analysis_callback, strRes:%s", strRes.c_str());
    QueueCallback(&pAgent->onsound_analysis_callback, pAgent->m_ullSerial, std::move(strRes));
    LOG_W("Complete call js callback");
    LOG_D("LEAVE!!!");
    return true;
}

}  // namespace Tether
