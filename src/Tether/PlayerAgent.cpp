// The player agent: its adapter, the twenty commands and the nine player
// event handlers. Every line the agent logs is written from this file.
#include "PlayerAgent.h"

#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "CallbackRecord.h"
#include "CommandResult.h"
#include "LiveAgents.h"
#include "NumberConversion.h"
#include "ScriptKinds.h"
#include "TetherLog.h"

namespace Tether {

using DeviceAPI::Cinecast::CinecasterAdapter;
using DeviceAPI::Cinecast::KiteBridgeEvent;

// How many arguments a command needs, and the line that refuses fewer.
struct CArgumentRule {
    int m_iMinimum;
    const char* m_pszRejection;
};

// The lines a command writes besides ENTER, its own and the closing one.
enum ECommandLines {
    NO_EXTRA_LINES = 0,
    COUNT_LINE = 1,  // "param length is %d", before the arguments are tested
    EXIT_LINE = 2    // "LEAVE!!!", on success
};

// What the common shape of a command needs to know of one command.
struct CCommandShape {
    const char* m_pszCmd;  // the script method's name, for the closing line
    CArgumentRule m_rule;
    int m_iLines;
    const char* m_pszFailure;  // written when the adapter refuses; none when null
};

// How an event handler's lines end once its record is queued.
enum class EEventTail {
    QUEUED,        // "End clutter_threads_add_idle_full."
    QUEUED_LEAVE,  // the same, then "LEAVE!!!"
    COMPLETE_LEAVE // "Complete call js callback", then "LEAVE!!!"
};

namespace {

const CArgumentRule ANY_ARGUMENTS = {0, nullptr};
const CArgumentRule ONE_ARGUMENT = {1, "Invalid param. aArgs.Length() < 1 "};
const CArgumentRule TWO_ARGUMENTS = {2, "Invalid param. aArgs.Length() <= 1 "};

// The agent's own record of how far its player has come; the adapter's
// states (0 to 4) are never stored in it.
const int AGENT_STATE_NOT_CREATED = 5;  // no URL accepted yet
const int AGENT_STATE_URI_SET = 6;      // the adapter accepted a URL

// Commands that read nothing.
bool ReadNothing(const CLogSite&)
{
    return true;
}

// The closing line comes after the result is made: a result that cannot be
// made ends the call with no line claiming one.
Bridge::ScriptObject Answer(const CLogSite& site, const char* strCmd, int iCode)
{
    Bridge::ScriptObject result = MakeCommandResult(iCode);
    LOG_W_AT(site, "strCmd[%s] ErrorCode[%d]", strCmd, iCode);
    return result;
}

Bridge::ScriptObject AnswerValue(const CLogSite& site, const char* strCmd, int iValue)
{
    Bridge::ScriptObject result = MakeQueryResult(iValue);
    LOG_W_AT(site, "strCmd[%s] ErrorCode[%d] IntVal[%d]", strCmd, COMMAND_SUCCESS, iValue);
    return result;
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
#define TETHER_HANDLER_ADDRESS(property, slot, setter, handler) reinterpret_cast<void*>(&handler),
    void* const apHandlers[] = {TETHER_CALLBACKS(TETHER_HANDLER_ADDRESS)};
#undef TETHER_HANDLER_ADDRESS
    static_assert(std::size(apHandlers) == DeviceAPI::Cinecast::KITE_BRIDGE_CALLBACK_COUNT,
                  "one handler per event code");
    for (int iCode = 0; iCode < DeviceAPI::Cinecast::KITE_BRIDGE_CALLBACK_COUNT; ++iCode)
        m_pCinecasterAdapter->RegisterKiteBridgeCallback(
            static_cast<DeviceAPI::Cinecast::KiteBridgeCallBack>(iCode), apHandlers[iCode], this);
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

#define TETHER_DEFINE_SETTER(property, slot, setter, handler)           \
    void CPlayerAgent::setter(const Bridge::ScriptFunction& function) \
    {                                                                 \
        slot = function;                                              \
    }
TETHER_CALLBACKS(TETHER_DEFINE_SETTER)
#undef TETHER_DEFINE_SETTER

// ENTER, the argument test, the command's own reads, one adapter call and
// the result with its closing line. read(site) answers false for arguments it
// finds unusable. Without an adapter (its allocation failed) the command
// answers as if the adapter had refused and never calls through the null
// pointer.
template <typename TRead, typename TCall>
Bridge::ScriptObject CPlayerAgent::RunCommand(const CLogSite& site, const CCommandShape& shape,
                                              const Bridge::ScriptArray& aArgs, TRead read, TCall call)
{
    LOG_D_AT(site, "ENTER!!!");
    if (shape.m_iLines & COUNT_LINE)
        LOG_I_AT(site, "param length is %d", aArgs.Length());

    int iCode;
    if (aArgs.Length() < shape.m_rule.m_iMinimum || !read(site)) {
        if (shape.m_rule.m_pszRejection != nullptr)
            LOG_W_AT(site, "%s", shape.m_rule.m_pszRejection);
        iCode = COMMAND_INVALID_PARAM;
    } else if (m_pCinecasterAdapter != nullptr && call(*m_pCinecasterAdapter)) {
        if (shape.m_iLines & EXIT_LINE)
            LOG_D_AT(site, "LEAVE!!!");
        iCode = COMMAND_SUCCESS;
    } else {
        if (shape.m_pszFailure != nullptr)
            LOG_W_AT(site, "%s", shape.m_pszFailure);
        iCode = COMMAND_FAILED;
    }
    return Answer(site, shape.m_pszCmd, iCode);
}

// A query answers "return_data" on success; ask(site, adapter, value) logs
// the answer it found.
template <typename TAsk>
Bridge::ScriptObject CPlayerAgent::RunQuery(const CLogSite& site, const char* strCmd, const char* pszFailure,
                                            TAsk ask)
{
    LOG_D_AT(site, "ENTER!!!");
    int iValue = 0;
    if (m_pCinecasterAdapter == nullptr || !ask(site, *m_pCinecasterAdapter, iValue)) {
        LOG_W_AT(site, "%s", pszFailure);
        return Answer(site, strCmd, COMMAND_FAILED);
    }
    return AnswerValue(site, strCmd, iValue);
}

Bridge::ScriptObject CPlayerAgent::Create(const Bridge::ScriptArray& aArgs)
{
    // No failure line: a refusal shows in the closing line only.
    return RunCommand(LOG_SITE(), {"player_create", ANY_ARGUMENTS, COUNT_LINE, nullptr}, aArgs, ReadNothing,
                      [](CinecasterAdapter& adapter) { return adapter.create(); });
}

Bridge::ScriptObject CPlayerAgent::SetURI(const Bridge::ScriptArray& aArgs)
{
    std::string strUrl;
    return RunCommand(
        LOG_SITE(), {"player_set_uri", ONE_ARGUMENT, COUNT_LINE, "m_pCinecasterAdapter->open failed!!!"}, aArgs,
        [&](const CLogSite& site) {
            // A missing or non-string "param_url" leaves the URL empty; the
            // adapter decides what an empty URL means.
            aArgs.get(0).tryGetString("param_url", strUrl);
            LOG_W_AT(site, "Get the URL is %s!!!", strUrl.c_str());
            return true;
        },
        [&](CinecasterAdapter& adapter) {
            if (!adapter.setUri(strUrl))
                return false;
            m_ePlayerState = AGENT_STATE_URI_SET;
            return true;
        });
}

Bridge::ScriptObject CPlayerAgent::Close(const Bridge::ScriptArray& aArgs)
{
    return RunCommand(LOG_SITE(),
                      {"player_close", ANY_ARGUMENTS, EXIT_LINE, "m_pCinecasterAdapter->close failed!!!"}, aArgs,
                      ReadNothing, [](CinecasterAdapter& adapter) { return adapter.close(); });
}

Bridge::ScriptObject CPlayerAgent::Prepare(const Bridge::ScriptArray& aArgs)
{
    return RunCommand(LOG_SITE(),
                      {"player_prepare", ANY_ARGUMENTS, NO_EXTRA_LINES, "m_pCinecasterAdapter->prepare failed!!!"},
                      aArgs, ReadNothing, [](CinecasterAdapter& adapter) { return adapter.prepare(); });
}

Bridge::ScriptObject CPlayerAgent::PrepareAsync(const Bridge::ScriptArray& aArgs)
{
    // Completion arrives later through Prepare_Complete_CB.
    return RunCommand(LOG_SITE(),
                      {"player_prepare_async", ANY_ARGUMENTS, NO_EXTRA_LINES,
                       "m_pCinecasterAdapter->prepareasync failed!!!"},
                      aArgs, ReadNothing, [](CinecasterAdapter& adapter) {
                          return adapter.registerPrepareListener(
                              static_cast<DeviceAPI::Common::MultiCallbackUserData*>(nullptr));
                      });
}

Bridge::ScriptObject CPlayerAgent::SetOutputArea(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    // The player owns its output area; the call is kept for old scripts and
    // answers 0 without asking the adapter.
    LOG_ENTER();
    LOG_W("Do not call SetOutputArea when you use Tether. This method is deprecated in Tether.");
    LOG_LEAVE();
    return Answer(LOG_SITE(), "player_set_output_area", COMMAND_SUCCESS);
}

Bridge::ScriptObject CPlayerAgent::SetStreamingProperty(const Bridge::ScriptArray& aArgs)
{
    std::string strType;
    std::string strParam;
    return RunCommand(
        LOG_SITE(),
        {"player_set_streaming_property", ONE_ARGUMENT, COUNT_LINE | EXIT_LINE,
         "m_pCinecasterAdapter->setStreamingProperty failed!!!"},
        aArgs,
        [&](const CLogSite& site) {
            // With a single argument the second reads as undefined and the
            // parameter stays empty.
            Bridge::ScriptObject typeArg = aArgs.get(0);
            Bridge::ScriptObject paramArg = aArgs.get(1);
            typeArg.tryGetString("param_property_type", strType);
            paramArg.tryGetString("param_property_param", strParam);
            LOG_D_AT(site, "Get streaming property type is : %s , param is : %s !!!", strType.c_str(),
                     strParam.c_str());
            return true;
        },
        [&](CinecasterAdapter& adapter) { return adapter.setStreamingProperty(strType, strParam); });
}

Bridge::ScriptObject CPlayerAgent::Pause(const Bridge::ScriptArray& aArgs)
{
    return RunCommand(LOG_SITE(), {"player_pause", ANY_ARGUMENTS, EXIT_LINE, "m_pCinecasterAdapter->Pause failed!!!"},
                      aArgs, ReadNothing, [](CinecasterAdapter& adapter) { return adapter.Pause(); });
}

Bridge::ScriptObject CPlayerAgent::Resume(const Bridge::ScriptArray& aArgs)
{
    // The adapter has no resume of its own: playing a paused player resumes it.
    return RunCommand(LOG_SITE(), {"player_resume", ANY_ARGUMENTS, EXIT_LINE, "m_pCinecasterAdapter->play failed!!!"},
                      aArgs, ReadNothing, [](CinecasterAdapter& adapter) { return adapter.play(); });
}

Bridge::ScriptObject CPlayerAgent::Stop(const Bridge::ScriptArray& aArgs)
{
    return RunCommand(LOG_SITE(), {"player_stop", ANY_ARGUMENTS, EXIT_LINE, "m_pCinecasterAdapter->Stop failed!!!"},
                      aArgs, ReadNothing, [](CinecasterAdapter& adapter) { return adapter.Stop(); });
}

Bridge::ScriptObject CPlayerAgent::Play(const Bridge::ScriptArray& aArgs)
{
    return RunCommand(LOG_SITE(), {"player_play", ANY_ARGUMENTS, EXIT_LINE, "m_pCinecasterAdapter->play failed!!!"},
                      aArgs, ReadNothing, [](CinecasterAdapter& adapter) { return adapter.play(); });
}

Bridge::ScriptObject CPlayerAgent::SeekTo(const Bridge::ScriptArray& aArgs)
{
    double dPosition = 0.0;
    // Completion arrives later through Seek_Complete_CB.
    return RunCommand(
        LOG_SITE(), {"player_seek_to", ONE_ARGUMENT, EXIT_LINE, "m_pCinecasterAdapter->seekTo!!!"}, aArgs,
        [&](const CLogSite& site) {
            aArgs.get(0).tryGetNumber("param_seek_to", dPosition);
            LOG_D_AT(site, "Get seek to param is %f !!!", dPosition);
            return true;
        },
        [&](CinecasterAdapter& adapter) {
            // The adapter's long is 64 bits on the desktop; keep the player's 32-bit range.
            long lPosition = DoubleToInt32(dPosition);
            return adapter.seekTo(lPosition, static_cast<DeviceAPI::Common::MultiCallbackUserData*>(nullptr));
        });
}

Bridge::ScriptObject CPlayerAgent::Skip(const Bridge::ScriptArray& aArgs)
{
    int iAmount = 0;
    return RunCommand(
        LOG_SITE(), {"player_skip", ONE_ARGUMENT, EXIT_LINE, "m_pCinecasterAdapter->Skip!!!"}, aArgs,
        [&](const CLogSite& site) {
            double dAmount = 0.0;
            aArgs.get(0).tryGetNumber("param_skip", dAmount);
            iAmount = DoubleToInt32(dAmount);
            LOG_D_AT(site, "Get seek to param is %d !!!", iAmount);
            return true;
        },
        [&](CinecasterAdapter& adapter) {
            return adapter.Skip(iAmount, static_cast<DeviceAPI::Common::MultiCallbackUserData*>(nullptr));
        });
}

Bridge::ScriptObject CPlayerAgent::GetDuration(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    return RunQuery(LOG_SITE(), "player_get_duration", "m_pCinecasterAdapter->GetDuration failed!!!",
                    [](const CLogSite& site, CinecasterAdapter& adapter, int& iDuration) {
                        unsigned long ulDuration = 0;
                        if (!adapter.GetDuration(&ulDuration))
                            return false;
                        // Scripts get 32 bits; a duration of 2^31 or more comes out negative.
                        iDuration = LowInt32(ulDuration);
                        // The second conversion of this line is incomplete; it is
                        // kept as the platform's log readers know it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat"
#pragma GCC diagnostic ignored "-Wformat-extra-args"
                        LOG_W_AT(site, "m_pCinecasterAdapter->GetDuration is  %d (%ll)!!!", iDuration, iDuration);
#pragma GCC diagnostic pop
                        return true;
                    });
}

Bridge::ScriptObject CPlayerAgent::GetCurrentPosition(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    return RunQuery(LOG_SITE(), "player_get_current_position", "m_pCinecasterAdapter->GetCurrentPosition failed!!!",
                    [](const CLogSite& site, CinecasterAdapter& adapter, int& iPosition) {
                        unsigned long long ullPosition = 0;
                        if (!adapter.GetCurrentPosition(&ullPosition))
                            return false;
                        // Scripts get the low 32 bits; the high ones are dropped.
                        iPosition = LowInt32(ullPosition);
                        LOG_W_AT(site, "m_pCinecasterAdapter->GetCurrentPosition get current time is  %d (0x%x)!!!",
                                 iPosition, static_cast<unsigned>(iPosition));
                        return true;
                    });
}

Bridge::ScriptObject CPlayerAgent::GetPlayerState(const Bridge::ScriptArray& aArgs)
{
    (void)aArgs;
    LOG_ENTER();
    const char* strCmd = "player_get_player_state";

    // Until a URL is accepted the adapter has nothing to tell.
    if (m_ePlayerState == AGENT_STATE_NOT_CREATED) {
        LOG_W("Player didn't create yet!!");
        return AnswerValue(LOG_SITE(), strCmd, AGENT_STATE_NOT_CREATED);
    }

    player_state_e eState = PLAYER_STATE_NONE;
    if (m_pCinecasterAdapter == nullptr || !m_pCinecasterAdapter->GetPlayerState(&eState)) {
        LOG_W("m_pCinecasterAdapter->GetPlayerState failed!!!");
        return Answer(LOG_SITE(), strCmd, COMMAND_FAILED);
    }

    // The adapter may write any int here, also values outside the enum's
    // range, which must not be loaded as the enum; the agent's own numbers
    // start at 5 and the adapter must not reach them.
    static_assert(sizeof(eState) == sizeof(int), "player_state_e is an int");
    int iState;
    std::memcpy(&iState, &eState, sizeof iState);
    if (iState > PLAYER_STATE_PAUSED) {
        LOG_W("m_pCinecasterAdapter->GetPlayerState failed!!! It has internal error.");
        return Answer(LOG_SITE(), strCmd, COMMAND_FAILED);
    }

    LOG_W("m_pCinecasterAdapter->GetPlayerState get state is %d!!!", iState);
    return AnswerValue(LOG_SITE(), strCmd, iState);
}

Bridge::ScriptObject CPlayerAgent::RegisterSoundAnalysisListener(const Bridge::ScriptArray& aArgs)
{
    // The function is only checked, never kept or called: results reach the
    // script through "onsound_analysis".
    return RunCommand(
        LOG_SITE(),
        {"player_register_sound_analysis_listener", TWO_ARGUMENTS, EXIT_LINE,
         "m_pCinecasterAdapter->registerSoundAnalysisListener!!!"},
        aArgs, [&](const CLogSite&) { return IsScriptFunction(aArgs.get(0)); },
        [](CinecasterAdapter& adapter) {
            return adapter.registerSoundAnalysisListener(
                static_cast<DeviceAPI::Cinecast::CinecastSoundAnalysisCallback*>(nullptr));
        });
}

Bridge::ScriptObject CPlayerAgent::Suspend(const Bridge::ScriptArray& aArgs)
{
    // Any argument will do; none is read.
    return RunCommand(LOG_SITE(),
                      {"player_suspend", ONE_ARGUMENT, EXIT_LINE, "m_pCinecasterAdapter->suspend failed!!!"}, aArgs,
                      ReadNothing, [](CinecasterAdapter& adapter) { return adapter.suspend(); });
}

Bridge::ScriptObject CPlayerAgent::Restore(const Bridge::ScriptArray& aArgs)
{
    std::string strUrl;
    double dResumeTime = 0.0;
    bool bPrepare = false;
    // Restoring with nothing to restore from would only hide a script error,
    // so a call without arguments is rejected, whatever its line announces.
    const CArgumentRule restoreRule = {1, "aArgs.Length() < 1 , use default parameter"};
    return RunCommand(
        LOG_SITE(), {"player_restore", restoreRule, EXIT_LINE, "m_pCinecasterAdapter->restore failed!!!"}, aArgs,
        [&](const CLogSite& site) {
            Bridge::ScriptObject params = aArgs.get(0);
            params.tryGetString("param_restore_url", strUrl);
            params.tryGetNumber("param_restore_resume_time", dResumeTime);
            params.tryGetBool("param_restore_prepare", bPrepare);
            LOG_W_AT(site, "Use the parameters which got from aArgs, restore_url:%s, resumetime:%f, prepare:%d ",
                     strUrl.c_str(), dResumeTime, bPrepare ? 1 : 0);
            return true;
        },
        [&](CinecasterAdapter& adapter) {
            // The adapter's long is 64 bits on the desktop; keep the player's 32-bit range.
            long lResumeTime = DoubleToInt32(dResumeTime);
            return adapter.restore(strUrl, lResumeTime, bPrepare);
        });
}

Bridge::ScriptObject CPlayerAgent::SetPartyTVMode(const Bridge::ScriptArray& aArgs)
{
    bool bPartyMode = false;
    return RunCommand(
        LOG_SITE(),
        {"player_set_party_tv_mode", ANY_ARGUMENTS, COUNT_LINE | EXIT_LINE,
         "m_pCinecasterAdapter->SetSoundAnalysis failed!!!"},
        aArgs,
        [&](const CLogSite& site) {
            // Without arguments the mode stays off and the adapter is still told.
            if (aArgs.Length() == 0) {
                LOG_W_AT(site, "Invalid param. aArgs.Length() < 1 ");
                return true;
            }
            Bridge::ScriptObject modeArg = aArgs.get(0);
            if (IsScriptString(modeArg)) {
                std::string strArg = modeArg.asString();
                LOG_D_AT(site, "Get aArgs[0] is '%s'!!!", strArg.c_str());
            }
            modeArg.tryGetBool("param_party_mode", bPartyMode);
            LOG_W_AT(site, "Get the party mode is %d!!!", bPartyMode ? 1 : 0);
            return true;
        },
        [&](CinecasterAdapter& adapter) { return adapter.SetSoundAnalysis(bPartyMode); });
}

// Player events, on the adapter's threads. Each handler turns its event into
// one text and queues it for its stored callback; it never touches a script
// value or the stored callback itself, only the slot's address and the
// agent's serial, both fixed since construction. text(site) makes the text
// and writes the handler's lines before the queueing.
template <typename TText>
bool CPlayerAgent::QueueEvent(const CLogSite& site, void* pThis, bool bHasData,
                              Bridge::ScriptFunction CPlayerAgent::*pSlot, EEventTail eTail, TText text)
{
    LOG_D_AT(site, "ENTER!!!");
    if (pThis == nullptr || !bHasData) {
        LOG_W_AT(site, "pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    QueueCallback(&(pAgent->*pSlot), pAgent->m_ullSerial, text(site));
    LOG_W_AT(site, "%s",
             eTail == EEventTail::COMPLETE_LEAVE ? "Complete call js callback" : "End clutter_threads_add_idle_full.");
    if (eTail != EEventTail::QUEUED)
        LOG_D_AT(site, "LEAVE!!!");
    return true;
}

bool CPlayerAgent::Buffering_CB(int percent, void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, true, &CPlayerAgent::onbuffering_callback, EEventTail::QUEUED,
                      [&](const CLogSite& site) {
                          std::string strRes = std::to_string(percent);
                          LOG_W_AT(site, "Get the buffering percent is %d, %s.", percent, strRes.c_str());
                          return strRes;
                      });
}

bool CPlayerAgent::Prepare_Complete_CB(void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, true, &CPlayerAgent::onprepare_complete_callback, EEventTail::QUEUED,
                      [](const CLogSite& site) {
                          LOG_W_AT(site, "Ready to call Prepare Complete callback.");
                          return std::string();
                      });
}

bool CPlayerAgent::Play_Complete_CB(void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, true, &CPlayerAgent::onplay_complete_callback, EEventTail::QUEUED,
                      [](const CLogSite& site) {
                          LOG_W_AT(site, "Ready to call Play Complete callback.");
                          return std::string();
                      });
}

bool CPlayerAgent::Seek_Complete_CB(void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, true, &CPlayerAgent::onseek_complete_callback, EEventTail::QUEUED_LEAVE,
                      [](const CLogSite& site) {
                          LOG_W_AT(site, "Ready to call Seek Complete callback.");
                          return std::string();
                      });
}

bool CPlayerAgent::Current_Time_CB(unsigned long long time, void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, true, &CPlayerAgent::oncurrent_time_callback, EEventTail::COMPLETE_LEAVE,
                      [&](const CLogSite& site) {
                          // Scripts get the low 32 bits, as for the position query.
                          int iTime = LowInt32(time);
                          std::string strRes = std::to_string(iTime);
                          LOG_W_AT(site, "Ready to call js callback, strRes:%s, %d", strRes.c_str(), iTime);
                          return strRes;
                      });
}

bool CPlayerAgent::Error_Event_CB(KiteBridgeEvent* event, void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, event != nullptr, &CPlayerAgent::onerror_event_callback,
                      EEventTail::COMPLETE_LEAVE, [&](const CLogSite& site) {
                          LOG_W_AT(site, "Got the Error event is type: %d, param1: %s, param2: %s", event->type,
                                   event->param1.c_str(), event->param2.c_str());
                          // Only param1 reaches the script.
                          std::string strRes = event->param1;
                          LOG_W_AT(site, "Ready to call onerror_event_callback, strRes:%s", strRes.c_str());
                          return strRes;
                      });
}

bool CPlayerAgent::ASM_Pause_CB(KiteBridgeEvent* event, void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, event != nullptr, &CPlayerAgent::onasm_pause_callback,
                      EEventTail::COMPLETE_LEAVE, [&](const CLogSite& site) {
                          LOG_W_AT(site, "Got the event is type: %d, param1: %s, param2: %s", event->type,
                                   event->param1.c_str(), event->param2.c_str());
                          std::string strRes = AsmEventText(*event);
                          LOG_W_AT(site, "Ready to call onasm_pause_callback, strRes:%s", strRes.c_str());
                          return strRes;
                      });
}

bool CPlayerAgent::ASM_Resume_CB(KiteBridgeEvent* event, void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, event != nullptr, &CPlayerAgent::onasm_resume_callback,
                      EEventTail::COMPLETE_LEAVE, [&](const CLogSite& site) {
                          LOG_W_AT(site, "Got the event is type: %d, param1: %s, param2: %s", event->type,
                                   event->param1.c_str(), event->param2.c_str());
                          return AsmEventText(*event);
                      });
}

bool CPlayerAgent::SoundAnalysisCB(const int* bands, int count, void* pThis)
{
    return QueueEvent(LOG_SITE(), pThis, bands != nullptr, &CPlayerAgent::onsound_analysis_callback,
                      EEventTail::COMPLETE_LEAVE, [&](const CLogSite& site) {
                          std::string strRes = BandsText(bands, count);
                          LOG_W_AT(site, "band array size = [%d]\n", count);
                          LOG_W_AT(site, "Ready to call onsound_analysis_callback, strRes:%s", strRes.c_str());
                          return strRes;
                      });
}

}  // namespace Tether
