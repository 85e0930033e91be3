// The player's state machine over one pipeline. Commands come from the
// script's thread and answer at once from what the player already knows
// (its state, whether the media can seek, their duration); the pipeline's
// work is posted to the player's own thread, where its bus messages and its
// clock tick are handled too. Only a synchronous prepare waits, for the
// preparation it answers for. m_lock guards the state both threads share;
// the pipeline itself is used on the worker only, but for position queries.
#ifndef CINECAST_GST_PLAYER_H
#define CINECAST_GST_PLAYER_H

#include <gst/gst.h>

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "BufferingSteps.h"
#include "Cinecast/AdapterTypes.h"
#include "GstEvents.h"
#include "GstPipeline.h"
#include "GstSoundAnalysis.h"
#include "GstWorker.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

class CGstPlayer {
public:
    explicit CGstPlayer(CGstEvents& events);
    // Stops the pipeline and joins the worker: no event is sent after.
    ~CGstPlayer();

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
    bool GetDuration(unsigned long& ulMilliseconds);
    bool GetPosition(unsigned long long& ullMilliseconds);
    player_state_e State();
    bool Suspend();
    bool Restore(const std::string& strMedia, long lMilliseconds, bool bPrepare);
    bool SetSoundAnalysis(bool bOn);

private:
    CGstPlayer(const CGstPlayer&) = delete;
    CGstPlayer& operator=(const CGstPlayer&) = delete;

    // What suspend keeps for restore.
    struct CSuspended {
        bool m_bValid = false;
        std::string m_strUri;
        long m_lPosition = 0;
        player_state_e m_eState = PLAYER_STATE_IDLE;
    };

    // --- Under m_lock, on the caller's thread ---
    // Forgets the prepared media: state 1 with media, 0 without; the
    // pipeline's work already posted for them becomes void.
    void ForgetMediaLocked();
    bool PrepareLocked(std::unique_lock<std::mutex>& lock);
    bool PlayLocked();
    void SeekLocked(gint64 iTarget);
    bool PositionLocked(std::unique_lock<std::mutex>& lock, gint64& iMilliseconds);
    void SetUriLocked(const std::string& strUri);
    // Posts fn to the worker, to run only if the media are still those of
    // this moment.
    void PostForMedia(std::function<void()> fn);

    // --- On the worker ---
    void MakePipeline();
    void StopPipeline();
    GstStateChangeReturn Start();
    bool Preroll(bool bReopen);
    void FailStart();
    void StartAsync();
    void CompletePrepare();
    void LearnMedia();
    bool Settle(GstState eState);
    void SettleSeek(gint64 iMilliseconds);
    void Rewind();
    bool WantPlaying(bool bWanted);
    void RunPause();
    void RunPlay(bool bFromStart);
    void RunStop();
    void RunSeek(gint64 iMilliseconds);
    void RunEnd(gint64 iEnd);
    void RestartTick();
    // Completions wait until an open buffering period ends, at most
    // HOLD_COMPLETIONS_MS.
    void Complete(KiteBridgeCallBack eCode);
    void ReleaseCompletions();
    static gboolean OnHoldExpired(gpointer pData);
    void DropHeldCompletions();

    // Bus messages and the clock tick (GstPlayerMessages.cpp).
    void OnMessage(GstMessage* pMessage);
    void OnError(GstMessage* pMessage);
    void OnAsyncDone();
    void OnEndOfStream();
    void OnBuffering(GstMessage* pMessage);
    void OnRequestState(GstMessage* pMessage);
    static gboolean OnTick(gpointer pData);
    void Tick();

    CGstEvents& m_events;

    std::mutex m_lock;
    bool m_bCreated = false;
    player_state_e m_eState = PLAYER_STATE_NONE;
    std::string m_strUri;
    std::string m_strUserAgent;
    unsigned long m_ulMedia = 0;     // counts the media set; posted work is for one of them
    long m_lStartPosition = -1;      // where the next preroll lands, if set
    gint64 m_iLanding = -1;          // the target of a seek not landed yet
    gint64 m_iSeekMade = -1;         // the target of the last seek the pipeline was given
    bool m_bPreparing = false;       // an asynchronous prepare is under way
    bool m_bSeeking = false;         // a seek's completion is awaited
    bool m_bEnded = false;           // stopped at the end of the stream
    bool m_bAtEnd = false;           // landed at the end while not playing
    bool m_bPausedBySoundServer = false;
    bool m_bAnalysis = false;
    bool m_bHasAnalysis = false;
    // Learnt as the media are prepared.
    bool m_bSeekable = false;
    gint64 m_iDuration = -1;
    CSuspended m_suspended;
    GstElement* m_pQueried = nullptr;  // the pipeline's playbin, for position queries

    // The worker's own.
    std::unique_ptr<CGstPipeline> m_pPipeline;
    unsigned long m_ulPipelineMedia = 0;  // the media the pipeline was started for
    GSource* m_pTick = nullptr;
    bool m_bPlayWanted = false;       // the commands left the pipeline playing
    bool m_bHeldForBuffering = false;  // ... but its buffer is filling
    int m_iLevel = -1;                 // the last buffering level, -1 before any
    CBufferingSteps m_buffering;
    std::vector<KiteBridgeCallBack> m_aHeldCompletions;
    GSource* m_pHoldTimeout = nullptr;
    CBandTimeline m_bands;

    CGstWorker m_worker;  // last: its thread stops before the rest goes
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
