// The native player agent behind one script "Tether" object.
#ifndef TETHER_PLAYER_AGENT_H
#define TETHER_PLAYER_AGENT_H

#include <Bridge/ScriptArray.h>
#include <Bridge/ScriptFunction.h>
#include <Bridge/ScriptObject.h>
#include <Cinecast/CinecasterAdapter.h>

#define TETHER_EXPORT __attribute__((visibility("default")))

// The nine script callbacks, in the order of their properties, which is also
// the order of the adapter's event codes 0 to 8: the property's name, the
// agent's stored function, its setter, and the event handler that fills it.
#define TETHER_CALLBACKS(X)                                                                                 \
    X("onbuffering", onbuffering_callback, set_onbuffering_callback, Buffering_CB)                          \
    X("onprepare_complete", onprepare_complete_callback, set_onprepare_complete_callback, Prepare_Complete_CB) \
    X("onplay_complete", onplay_complete_callback, set_onplay_complete_callback, Play_Complete_CB)          \
    X("onseek_complete", onseek_complete_callback, set_onseek_complete_callback, Seek_Complete_CB)          \
    X("oncurrent_time", oncurrent_time_callback, set_oncurrent_time_callback, Current_Time_CB)              \
    X("onerror_event", onerror_event_callback, set_onerror_event_callback, Error_Event_CB)                  \
    X("onasm_pause", onasm_pause_callback, set_onasm_pause_callback, ASM_Pause_CB)                          \
    X("onasm_resume", onasm_resume_callback, set_onasm_resume_callback, ASM_Resume_CB)                      \
    X("onsound_analysis", onsound_analysis_callback, set_onsound_analysis_callback, SoundAnalysisCB)

namespace Tether {

struct CLogSite;
struct CCommandShape;
enum class EEventTail;

class TETHER_EXPORT CPlayerAgent {
public:
    CPlayerAgent();
    virtual ~CPlayerAgent();

    // Commands: one per script method, each answering a command result.
    Bridge::ScriptObject Create(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject SetURI(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Prepare(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject PrepareAsync(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject SetOutputArea(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject SetStreamingProperty(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Pause(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Resume(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Stop(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Play(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject SeekTo(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Skip(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject GetDuration(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject GetCurrentPosition(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject GetPlayerState(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject RegisterSoundAnalysisListener(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Suspend(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Restore(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject Close(const Bridge::ScriptArray& aArgs);
    Bridge::ScriptObject SetPartyTVMode(const Bridge::ScriptArray& aArgs);

    // Callback property setters.
#define TETHER_DECLARE_SETTER(property, slot, setter, handler) void setter(const Bridge::ScriptFunction& function);
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

    // The shape every command shares and the shape every event handler
    // shares; each command and handler gives what is its own.
    template <typename TRead, typename TCall>
    Bridge::ScriptObject RunCommand(const CLogSite& site, const CCommandShape& shape,
                                    const Bridge::ScriptArray& aArgs, TRead read, TCall call);
    template <typename TAsk>
    Bridge::ScriptObject RunQuery(const CLogSite& site, const char* strCmd, const char* pszFailure, TAsk ask);
    template <typename TText>
    static bool QueueEvent(const CLogSite& site, void* pThis, bool bHasData,
                           Bridge::ScriptFunction CPlayerAgent::*pSlot, EEventTail eTail, TText text);

    DeviceAPI::Cinecast::CinecasterAdapter* m_pCinecasterAdapter;
    int m_ePlayerState;
#define TETHER_DECLARE_SLOT(property, slot, setter, handler) Bridge::ScriptFunction slot;
    TETHER_CALLBACKS(TETHER_DECLARE_SLOT)
#undef TETHER_DECLARE_SLOT
    // Names this agent to records queued for it (see CallbackRecord.h).
    const unsigned long long m_ullSerial;
};

}  // namespace Tether

#endif
