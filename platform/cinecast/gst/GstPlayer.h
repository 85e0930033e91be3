// The player's state machine over one pipeline. It lives on the worker
// thread: its operations, its bus messages and its clock tick all run there,
// so it takes no lock.
#ifndef CINECAST_GST_PLAYER_H
#define CINECAST_GST_PLAYER_H

#include <gst/gst.h>

#include <memory>
#include <string>
#include <vector>

#include "Cinecast/CinecasterAdapter.h"
#include "GstEvents.h"
#include "GstPipeline.h"
#include "GstSoundAnalysis.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

class CGstPlayer {
public:
    CGstPlayer(CGstEvents& events, GMainContext* pContext);
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
    bool GetDuration(unsigned long& ulMilliseconds) const;
    bool GetPosition(unsigned long long& ullMilliseconds) const;
    player_state_e State() const { return m_eState; }
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

    // Stops the pipeline and forgets everything pending: state 1 with media,
    // 0 without.
    void Unprepare();
    GstStateChangeReturn Start();
    bool Preroll();
    void CompletePrepare();
    bool Settle(GstState eState);
    void SettleSeek(gint64 iMilliseconds);
    bool Land(gint64 iMilliseconds);
    bool SeekWithin(gint64 iMilliseconds);
    bool QueryPosition(gint64& iMilliseconds) const;

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
    GMainContext* m_pContext;
    GSource* m_pTick;
    std::unique_ptr<CGstPipeline> m_pPipeline;

    player_state_e m_eState = PLAYER_STATE_NONE;
    std::string m_strUri;
    std::string m_strUserAgent;
    long m_lStartPosition = -1;  // where the next preroll lands, if set
    gint64 m_iLanding = -1;      // the target of a seek not landed yet
    bool m_bPreparing = false;   // an asynchronous prepare is under way
    bool m_bSeeking = false;     // a seek's completion is awaited
    bool m_bEnded = false;       // stopped at the end of the stream
    bool m_bHeldForBuffering = false;
    bool m_bPausedBySoundServer = false;
    bool m_bAnalysis = false;
    CBandTimeline m_bands;
    CSuspended m_suspended;
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
