// The agent's life: adapter set-up and tear-down, the callback property
// setters, and the lifecycle commands player_create, player_set_uri and
// player_close.
#include "PlayerAgent.h"

#include <new>
#include <string>

#include "AgentState.h"
#include "CommandResult.h"
#include "LiveAgents.h"
#include "TetherLog.h"

namespace Tether {

using DeviceAPI::Cinecast::CinecasterAdapter;
using DeviceAPI::Cinecast::KiteBridgeCallBack;

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
    // In event-code order, 0 to 8.
    void* const apHandlers[] = {
        reinterpret_cast<void*>(&Buffering_CB),
        reinterpret_cast<void*>(&Prepare_Complete_CB),
        reinterpret_cast<void*>(&Play_Complete_CB),
        reinterpret_cast<void*>(&Seek_Complete_CB),
        reinterpret_cast<void*>(&Current_Time_CB),
        reinterpret_cast<void*>(&Error_Event_CB),
        reinterpret_cast<void*>(&ASM_Pause_CB),
        reinterpret_cast<void*>(&ASM_Resume_CB),
        reinterpret_cast<void*>(&SoundAnalysisCB),
    };
    static_assert(sizeof(apHandlers) / sizeof(apHandlers[0]) ==
                      DeviceAPI::Cinecast::KITE_BRIDGE_CALLBACK_COUNT,
                  "one handler per event code");
    for (int iCode = 0; iCode < DeviceAPI::Cinecast::KITE_BRIDGE_CALLBACK_COUNT; ++iCode)
        m_pCinecasterAdapter->RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(iCode),
                                                         apHandlers[iCode], this);
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

void CPlayerAgent::set_onbuffering_callback(const Bridge::ScriptFunction& function)
{
    onbuffering_callback = function;
}

void CPlayerAgent::set_onprepare_complete_callback(const Bridge::ScriptFunction& function)
{
    onprepare_complete_callback = function;
}

void CPlayerAgent::set_onplay_complete_callback(const Bridge::ScriptFunction& function)
{
    onplay_complete_callback = function;
}

void CPlayerAgent::set_onseek_complete_callback(const Bridge::ScriptFunction& function)
{
    onseek_complete_callback = function;
}

void CPlayerAgent::set_oncurrent_time_callback(const Bridge::ScriptFunction& function)
{
    oncurrent_time_callback = function;
}

void CPlayerAgent::set_onerror_event_callback(const Bridge::ScriptFunction& function)
{
    onerror_event_callback = function;
}

void CPlayerAgent::set_onasm_pause_callback(const Bridge::ScriptFunction& function)
{
    onasm_pause_callback = function;
}

void CPlayerAgent::set_onasm_resume_callback(const Bridge::ScriptFunction& function)
{
    onasm_resume_callback = function;
}

void CPlayerAgent::set_onsound_analysis_callback(const Bridge::ScriptFunction& function)
{
    onsound_analysis_callback = function;
}

// Without an adapter (its allocation failed) every command below answers as
// if the adapter had refused, and never calls through the null pointer.

Bridge::ScriptObject CPlayerAgent::Create(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_create";
    LOG_I("param length is %d", aArgs.Length());

    bool bOk = m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->create();
    int iCode = bOk ? COMMAND_SUCCESS : COMMAND_FAILED;
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::SetURI(const Bridge::ScriptArray& aArgs)
{
    LOG_ENTER();
    std::string strCmd = "player_set_uri";
    std::string strUrl;
    LOG_I("param length is %d", aArgs.Length());

    int iCode;
    if (aArgs.Length() == 0) {
        LOG_W("Invalid param. aArgs.Length() < 1 ");
        iCode = COMMAND_INVALID_PARAM;
    } else {
        // A missing or non-string "param_url" leaves the URL empty; the
        // adapter decides what an empty URL means.
        aArgs.get(0).tryGetString("param_url", strUrl);
        LOG_W("Get the URL is %s!!!", strUrl.c_str());
        if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->setUri(strUrl)) {
            m_ePlayerState = AGENT_STATE_URI_SET;
            iCode = COMMAND_SUCCESS;
        } else {
            LOG_W("m_pCinecasterAdapter->open failed!!!");
            iCode = COMMAND_FAILED;
        }
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

Bridge::ScriptObject CPlayerAgent::Close(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    std::string strCmd = "player_close";

    int iCode;
    if (m_pCinecasterAdapter != nullptr && m_pCinecasterAdapter->close()) {
        LOG_LEAVE();
        iCode = COMMAND_SUCCESS;
    } else {
        LOG_W("m_pCinecasterAdapter->close failed!!!");
        iCode = COMMAND_FAILED;
    }
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W("strCmd[%s] ErrorCode[%d]", strCmd.c_str(), iCode);
    return result;
}

}  // namespace Tether
