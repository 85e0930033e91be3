// The model's state machine: the GStreamer player's (gst/GstPlayer.cpp) over
// media that exist only as descriptions, on the host's clock. Everything
// runs on the thread of the adapter's calls, which is also the one the clock
// calls back on, so it takes no lock.
#ifndef CINECAST_MODEL_PLAYER_H
#define CINECAST_MODEL_PLAYER_H

#include <deque>
#include <functional>
#include <string>

#include "BufferingSteps.h"
#include "Cinecast/AdapterBackend.h"
#include "Cinecast/ModelAdapter.h"
#include "ModelNetwork.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

class CModelPlayer {
public:
    CModelPlayer(CAdapterBackend& backend, CModelClock& clock, CMediaCatalogue& catalogue);
    // Cancels every timed event: no handler is called after.
    ~CModelPlayer();

    void EnableEvents(bool bEnable) { m_bEventsEnabled = bEnable; }

    bool Create();
    bool SetUri(const std::string& strMedia);
    bool Close();
    bool Prepare();
    bool PrepareAsync();
    bool SetStreamingProperty(const std::string& strType, const std::string& strParam);
    bool Pause();
    bool Play();
    bool Stop();
    bool SeekTo(long lMilliseconds);
    bool Skip(int iMilliseconds);
    bool GetDuration(unsigned long& ulMilliseconds) const;
    bool GetPosition(unsigned long long& ullMilliseconds) const;
    player_state_e State() const { return m_eState; }
    bool Suspend();
    bool Restore(const std::string& strMedia, long lMilliseconds, bool bPrepare);
    bool SetSoundAnalysis(bool bOn);

private:
    CModelPlayer(const CModelPlayer&) = delete;
    CModelPlayer& operator=(const CModelPlayer&) = delete;

    struct CSuspended {
        bool m_bValid = false;
        std::string m_strUri;
        long long m_llPosition = 0;  // milliseconds
        player_state_e m_eState = PLAYER_STATE_IDLE;
    };

    // One timed event that a later one of its kind replaces.
    class CTimed {
    public:
        explicit CTimed(CModelClock& clock) : m_clock(clock) {}
        ~CTimed() { Cancel(); }
        void At(long long llDueUs, std::function<void()> fn);
        void Cancel();
        bool IsPending() const { return m_ullId != 0; }

    private:
        CModelClock& m_clock;
        unsigned long long m_ullId = 0;
    };

    // What the data being fetched are for, so what comes once they are in.
    enum class ELoad {
        NONE,
        PREPARE,  // prepare_complete (or the media's error)
        SEEK,     // seek_complete
        RESTART,  // stop, a replay or a synchronous prepare: playback goes on
        STALL,    // the buffer ran dry: playback goes on
    };

    // The events that the GStreamer player sends while a call runs or as
    // the pipeline reports them: sent in order once the caller returns, and
    // not taken back by what the player does meanwhile.
    void Notify(std::function<void()> fn);
    void SendNotices();

    void Unprepare();
    bool Start();
    bool Preroll();
    // Network media whose server answers fill their buffer for a period.
    bool Buffers() const { return m_media.IsNetwork() && m_media.m_eError != EMediaError::REFUSED; }
    // Fetches the media at the position, for ePurpose: a buffering period
    // on network media, a landing at once on files.
    void Load(ELoad ePurpose);
    void Fetch();
    void ScheduleLevel(long long llAfterUs);
    void OnLevel(long long llElapsedUs);
    void EndLoad();
    void Fail(EMediaError eError);
    // Positions are kept in microseconds, the clock's unit, and answered in
    // milliseconds.
    void SeekWithin(long long llPositionUs);
    void RunFrom(long long llPositionUs);
    void Hold();
    long long PositionUs() const;
    bool HasDuration() const { return static_cast<bool>(m_media.m_ullDurationMs); }
    long long DurationUs() const { return static_cast<long long>(m_media.m_ullDurationMs.value_or(0)) * 1000; }
    // An event playlist that has not listed its end yet.
    bool Growing() const;
    bool CanSeek() const { return m_media.m_bSeekable && !Growing(); }
    // Where a prepare lands: the start position, within the media, if it can seek.
    long long PrerollPositionUs() const;
    void OnEndOfStream();
    void Tick();

    // Events while the bridge is switched on.
    void SendBuffering(int iPercent);
    void SendCompletion(KiteBridgeCallBack eCode);
    void SendError(EMediaError eError, const std::string& strText);

    CAdapterBackend& m_backend;
    CModelClock& m_clock;
    CMediaCatalogue& m_catalogue;
    bool m_bEventsEnabled = false;

    bool m_bCreated = false;
    player_state_e m_eState = PLAYER_STATE_NONE;
    std::string m_strUri;
    CMedia m_media;               // read as the media is started
    long long m_llFirstReadUs = -1;  // when the media set were first read
    long long m_llStartPosition = -1;  // milliseconds
    bool m_bEnded = false;
    bool m_bAnalysis = false;
    CSuspended m_suspended;

    // The position: m_llPositionUs, plus the time since m_llRunningSinceUs while running.
    long long m_llPositionUs = 0;
    bool m_bRunning = false;
    long long m_llRunningSinceUs = 0;

    ELoad m_eLoad = ELoad::NONE;
    long long m_llLoadStartUs = 0;       // when the data began to come
    unsigned long long m_ullHoldId = 0;  // a prepare waiting for the medium's release
    CModelNetwork m_network;
    CBufferingSteps m_steps;

    CTimed m_load;  // a landing, or the next buffering level
    CTimed m_end;
    CTimed m_dry;   // the buffer runs dry
    CTimed m_fail;  // the reading meets the described failure
    CTimed m_tick;
    CTimed m_notices;
    std::deque<std::function<void()>> m_aNotices;
};

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
