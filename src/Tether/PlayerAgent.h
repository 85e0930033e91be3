// The native player agent behind one script "Tether" object.
#ifndef TETHER_PLAYER_AGENT_H
#define TETHER_PLAYER_AGENT_H

#include <Bridge/ScriptArray.h>
#include <Bridge/ScriptFunction.h>
#include <Bridge/ScriptObject.h>
#include <Cinecast/CinecasterAdapter.h>

#define TETHER_EXPORT __attribute__((visibility("default")))

namespace Tether {

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
    void set_onbuffering_callback(const Bridge::ScriptFunction& function);
    void set_onprepare_complete_callback(const Bridge::ScriptFunction& function);
    void set_onplay_complete_callback(const Bridge::ScriptFunction& function);
    void set_onseek_complete_callback(const Bridge::ScriptFunction& function);
    void set_oncurrent_time_callback(const Bridge::ScriptFunction& function);
    void set_onerror_event_callback(const Bridge::ScriptFunction& function);
    void set_onasm_pause_callback(const Bridge::ScriptFunction& function);
    void set_onasm_resume_callback(const Bridge::ScriptFunction& function);
    void set_onsound_analysis_callback(const Bridge::ScriptFunction& function);

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
    Bridge::ScriptFunction onbuffering_callback;
    Bridge::ScriptFunction onprepare_complete_callback;
    Bridge::ScriptFunction onplay_complete_callback;
    Bridge::ScriptFunction onseek_complete_callback;
    Bridge::ScriptFunction oncurrent_time_callback;
    Bridge::ScriptFunction onerror_event_callback;
    Bridge::ScriptFunction onasm_pause_callback;
    Bridge::ScriptFunction onasm_resume_callback;
    Bridge::ScriptFunction onsound_analysis_callback;
    // Names this agent to records queued for it (see CallbackRecord.h).
    const unsigned long long m_ullSerial;
};

}  // namespace Tether

#endif
