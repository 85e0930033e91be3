// The native player agent behind one script "Tether" object.
#ifndef TETHER_PLAYER_AGENT_H
#define TETHER_PLAYER_AGENT_H

#include <Bridge/ScriptArray.h>
#include <Bridge/ScriptFunction.h>
#include <Bridge/ScriptObject.h>
#include <Cinecast/CinecasterAdapter.h>

#define TETHER_EXPORT __attribute__((visibility("default")))

// The twenty script methods, in the order of the class's interface: the
// method's name, the bridge's handler and the agent's command. Each row is
// passed what the caller gives after X.
#define TETHER_COMMANDS(X, ...)                                                                          \
    X("player_create", HandleCreate, Create, __VA_ARGS__)                                               \
    X("player_set_uri", HandleSetURI, SetURI, __VA_ARGS__)                                              \
    X("player_prepare", HandlePrepare, Prepare, __VA_ARGS__)                                            \
    X("player_prepare_async", HandlePrepareAsync, PrepareAsync, __VA_ARGS__)                            \
    X("player_set_output_area", HandleSetOutputArea, SetOutputArea, __VA_ARGS__)                        \
    X("player_set_streaming_property", HandleSetStreamingProperty, SetStreamingProperty, __VA_ARGS__)   \
    X("player_pause", HandlePause, Pause, __VA_ARGS__)                                                  \
    X("player_resume", HandleResume, Resume, __VA_ARGS__)                                               \
    X("player_stop", HandleStop, Stop, __VA_ARGS__)                                                     \
    X("player_play", HandlePlay, Play, __VA_ARGS__)                                                     \
    X("player_seek_to", HandleSeekTo, SeekTo, __VA_ARGS__)                                              \
    X("player_skip", HandleSkip, Skip, __VA_ARGS__)                                                     \
    X("player_get_duration", HandleGetDuration, GetDuration, __VA_ARGS__)                               \
    X("player_get_current_position", HandleGetCurrentPosition, GetCurrentPosition, __VA_ARGS__)         \
    X("player_get_player_state", HandleGetPlayerState, GetPlayerState, __VA_ARGS__)                     \
    X("player_register_sound_analysis_listener", HandleRegisterSoundAnalysisListener,                   \
      RegisterSoundAnalysisListener, __VA_ARGS__)                                                       \
    X("player_suspend", HandleSuspend, Suspend, __VA_ARGS__)                                            \
    X("player_restore", HandleRestore, Restore, __VA_ARGS__)                                            \
    X("player_close", HandleClose, Close, __VA_ARGS__)                                                  \
    X("player_set_party_tv_mode", HandleSetPartyTVMode, SetPartyTVMode, __VA_ARGS__)

// The nine script callbacks, in the order of their properties: the
// property's name, the adapter's event code (DeviceAPI::Cinecast's
// KiteBridgeCallBack) under which its handler is registered, the agent's
// stored function, its setter, and the event handler that fills it.
#define TETHER_CALLBACKS(X)                                                                               \
    X("onbuffering", KITE_BRIDGE_BUFFERING, onbuffering_callback, set_onbuffering_callback, Buffering_CB) \
    X("onprepare_complete", KITE_BRIDGE_PREPARE_COMPLETE, onprepare_complete_callback,                    \
      set_onprepare_complete_callback, Prepare_Complete_CB)                                               \
    X("onplay_complete", KITE_BRIDGE_PLAY_COMPLETE, onplay_complete_callback, set_onplay_complete_callback, \
      Play_Complete_CB)                                                                                   \
    X("onseek_complete", KITE_BRIDGE_SEEK_COMPLETE, onseek_complete_callback, set_onseek_complete_callback, \
      Seek_Complete_CB)                                                                                   \
    X("oncurrent_time", KITE_BRIDGE_CURRENT_TIME, oncurrent_time_callback, set_oncurrent_time_callback,   \
      Current_Time_CB)                                                                                    \
    X("onerror_event", KITE_BRIDGE_ERROR_EVENT, onerror_event_callback, set_onerror_event_callback,       \
      Error_Event_CB)                                                                                     \
    X("onasm_pause", KITE_BRIDGE_ASM_PAUSE, onasm_pause_callback, set_onasm_pause_callback, ASM_Pause_CB) \
    X("onasm_resume", KITE_BRIDGE_ASM_RESUME, onasm_resume_callback, set_onasm_resume_callback,           \
      ASM_Resume_CB)                                                                                      \
    X("onsound_analysis", KITE_BRIDGE_SOUND_ANALYSIS, onsound_analysis_callback,                          \
      set_onsound_analysis_callback, SoundAnalysisCB)

namespace Tether {

class TETHER_EXPORT CPlayerAgent {
public:
    CPlayerAgent();
    virtual ~CPlayerAgent();

    // Commands: one per script method, each answering a command result.
#define TETHER_DECLARE_COMMAND(name, handler, command, ...) \
    Bridge::ScriptObject command(const Bridge::ScriptArray& aArgs);
    TETHER_COMMANDS(TETHER_DECLARE_COMMAND)
#undef TETHER_DECLARE_COMMAND

    // Callback property setters.
#define TETHER_DECLARE_SETTER(property, code, slot, setter, handler) void setter(const Bridge::ScriptFunction& function);
    TETHER_CALLBACKS(TETHER_DECLARE_SETTER)
#undef TETHER_DECLARE_SETTER

    // Player event handlers, called on the adapter's threads.
    static bool Buffering_CB(int percent, void* pThis);
    static bool Prepare_Complete_CB(void* pThis);
    static bool Play_Complete_CB(void* pThis);
    static bool Seek_Complete_CB(void* pThis);
    static bool Current_Time_CB(unsigned long long time, void* pThis);
    static bool Error_Event_CB(DeviceAPI::Cinecast::KiteBridgeEvent* event, void* pThis);
    static bool ASM_Pause_CB(DeviceAPI::Cinecast::KiteBridgeEvent* event, void* pThis);
    static bool ASM_Resume_CB(DeviceAPI::Cinecast::KiteBridgeEvent* event, void* pThis);
    static bool SoundAnalysisCB(const int* bands, int count, void* pThis);

private:
    CPlayerAgent(const CPlayerAgent&) = delete;
    CPlayerAgent& operator=(const CPlayerAgent&) = delete;

    DeviceAPI::Cinecast::CinecasterAdapter* m_pCinecasterAdapter;
    int m_ePlayerState;
#define TETHER_DECLARE_SLOT(property, code, slot, setter, handler) Bridge::ScriptFunction slot;
    TETHER_CALLBACKS(TETHER_DECLARE_SLOT)
#undef TETHER_DECLARE_SLOT
    // Names this agent to records queued for it (see CallbackRecord.h).
    const unsigned long long m_ullSerial;
};

}  // namespace Tether

#endif
