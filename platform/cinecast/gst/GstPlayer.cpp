#include "GstPlayer.h"

#include <algorithm>

#include "GstMediaUri.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

// A synchronous prepare, and the seek to a restored position, give up after
// this long rather than hold the caller's thread.
const int PREROLL_TIMEOUT_MS = 10000;
// The player's own state changes and seeks are waited for this long at most.
const int SETTLE_TIMEOUT_MS = 2000;
// The current time and the sound-analysis bands are reported this often.
const guint TICK_MS = 100;

const char* const USER_AGENT_PROPERTY = "USER_AGENT";

}  // namespace

CGstPlayer::CGstPlayer(CGstEvents& events, GMainContext* pContext)
    : m_events(events)
    , m_pContext(pContext)
    , m_pTick(g_timeout_source_new(TICK_MS))
{
    g_source_set_callback(m_pTick, OnTick, this, nullptr);
    g_source_attach(m_pTick, m_pContext);
}

CGstPlayer::~CGstPlayer()
{
    g_source_destroy(m_pTick);
    g_source_unref(m_pTick);
    m_pPipeline.reset();
}

bool CGstPlayer::Create()
{
    if (m_pPipeline)
        return true;
    m_pPipeline = CGstPipeline::Make(m_pContext, [this](GstMessage* pMessage) { OnMessage(pMessage); });
    if (!m_pPipeline)
        return false;
    m_pPipeline->SetUserAgent(m_strUserAgent);
    m_eState = PLAYER_STATE_NONE;
    return true;
}

bool CGstPlayer::SetUri(const std::string& strMedia)
{
    std::string strUri;
    if (!m_pPipeline || !ToMediaUri(strMedia, strUri))
        return false;
    m_strUri = strUri;
    m_suspended = CSuspended();
    Unprepare();
    return true;
}

bool CGstPlayer::Close()
{
    if (!m_pPipeline)
        return false;
    m_strUri.clear();
    m_suspended = CSuspended();
    Unprepare();
    return true;
}

void CGstPlayer::Unprepare()
{
    // Going to NULL also drops the messages still on the bus.
    if (m_pPipeline)
        m_pPipeline->SetState(GST_STATE_NULL);
    m_lStartPosition = -1;
    m_iLanding = -1;
    m_bPreparing = false;
    m_bSeeking = false;
    m_bEnded = false;
    m_bHeldForBuffering = false;
    m_bPausedBySoundServer = false;
    m_bands.Clear();
    m_eState = m_strUri.empty() ? PLAYER_STATE_NONE : PLAYER_STATE_IDLE;
}

// playbin forgets its media after a failed start, so every start from the
// stopped state names it again.
GstStateChangeReturn CGstPlayer::Start()
{
    m_pPipeline->SetUri(m_strUri);
    return m_pPipeline->SetState(GST_STATE_PAUSED);
}

bool CGstPlayer::Preroll()
{
    GstStateChangeReturn eResult = Start();
    bool bReady = eResult != GST_STATE_CHANGE_FAILURE;
    if (bReady && eResult == GST_STATE_CHANGE_ASYNC)
        bReady = m_pPipeline->WaitForAsyncDone(PREROLL_TIMEOUT_MS);
    // Media that cannot seek start from the beginning.
    if (bReady && m_lStartPosition > 0 && m_pPipeline->CanSeek() && Land(m_lStartPosition))
        bReady = m_pPipeline->WaitForAsyncDone(PREROLL_TIMEOUT_MS);
    if (!bReady) {
        // Report the errors behind the failure before the bus is dropped.
        m_pPipeline->HandlePending();
        Unprepare();
        return false;
    }
    m_lStartPosition = -1;
    m_eState = PLAYER_STATE_READY;
    return true;
}

bool CGstPlayer::Prepare()
{
    if (!m_pPipeline || m_eState == PLAYER_STATE_NONE || m_bPreparing)
        return false;
    if (m_eState != PLAYER_STATE_IDLE)
        return true;
    return Preroll();
}

bool CGstPlayer::PrepareAsync()
{
    if (!m_pPipeline || m_eState == PLAYER_STATE_NONE)
        return false;
    if (m_eState != PLAYER_STATE_IDLE) {
        m_events.PrepareComplete();
        return true;
    }
    if (m_bPreparing)
        return true;
    GstStateChangeReturn eResult = Start();
    if (eResult == GST_STATE_CHANGE_FAILURE) {
        m_pPipeline->HandlePending();
        Unprepare();
        return false;
    }
    m_bPreparing = true;
    if (eResult != GST_STATE_CHANGE_ASYNC)
        CompletePrepare();
    return true;
}

// Called when the preroll has landed: first at the start position, if one
// is set, then ready.
void CGstPlayer::CompletePrepare()
{
    if (m_lStartPosition > 0) {
        gint64 iStart = m_lStartPosition;
        m_lStartPosition = -1;
        if (m_pPipeline->CanSeek() && Land(iStart))
            return;
    }
    m_bPreparing = false;
    m_eState = PLAYER_STATE_READY;
    m_events.PrepareComplete();
}

bool CGstPlayer::SetStreamingProperty(const std::string& strType, const std::string& strParam)
{
    if (strType != USER_AGENT_PROPERTY)
        return false;
    m_strUserAgent = strParam;
    if (m_pPipeline)
        m_pPipeline->SetUserAgent(m_strUserAgent);
    return true;
}

// Changes the pipeline's state and waits until the change has completed,
// so that its completion is not taken later for that of a seek. False when
// the change failed.
bool CGstPlayer::Settle(GstState eState)
{
    GstStateChangeReturn eResult = m_pPipeline->SetState(eState);
    if (eResult == GST_STATE_CHANGE_FAILURE) {
        m_pPipeline->HandlePending();
        return false;
    }
    if (eResult == GST_STATE_CHANGE_ASYNC)
        m_pPipeline->WaitForAsyncDone(SETTLE_TIMEOUT_MS);
    return true;
}

// A seek of the player's own, waited for in the same way.
void CGstPlayer::SettleSeek(gint64 iMilliseconds)
{
    if (Land(iMilliseconds))
        m_pPipeline->WaitForAsyncDone(SETTLE_TIMEOUT_MS);
}

// The state is set before the pipeline's change is waited for: messages
// handled meanwhile (the end of the stream, an error) see it and may change
// it again.
bool CGstPlayer::Pause()
{
    if (m_eState == PLAYER_STATE_PAUSED)
        return true;
    if (m_eState != PLAYER_STATE_PLAYING)
        return false;
    m_bHeldForBuffering = false;
    m_bPausedBySoundServer = false;
    m_eState = PLAYER_STATE_PAUSED;
    if (!Settle(GST_STATE_PAUSED) && m_eState == PLAYER_STATE_PAUSED)
        m_eState = PLAYER_STATE_PLAYING;
    return m_eState == PLAYER_STATE_PAUSED;
}

bool CGstPlayer::Play()
{
    if (m_eState == PLAYER_STATE_PLAYING)
        return true;
    if (m_eState != PLAYER_STATE_READY && m_eState != PLAYER_STATE_PAUSED)
        return false;
    if (m_bEnded) {
        m_bEnded = false;
        SettleSeek(0);
    }
    const player_state_e eBefore = m_eState;
    m_bPausedBySoundServer = false;
    m_eState = PLAYER_STATE_PLAYING;
    if (!Settle(GST_STATE_PLAYING) && m_eState == PLAYER_STATE_PLAYING)
        m_eState = eBefore;
    // Short media may even have ended meanwhile.
    return m_eState == PLAYER_STATE_PLAYING || (m_eState == PLAYER_STATE_READY && m_bEnded);
}

bool CGstPlayer::Stop()
{
    if (m_eState != PLAYER_STATE_READY && m_eState != PLAYER_STATE_PLAYING && m_eState != PLAYER_STATE_PAUSED)
        return false;
    if (m_eState != PLAYER_STATE_READY && !Settle(GST_STATE_PAUSED))
        return false;
    m_bSeeking = false;
    m_bEnded = false;
    m_bHeldForBuffering = false;
    m_bPausedBySoundServer = false;
    m_eState = PLAYER_STATE_READY;
    SettleSeek(0);
    return true;
}

bool CGstPlayer::Land(gint64 iMilliseconds)
{
    if (!m_pPipeline->Seek(iMilliseconds))
        return false;
    m_iLanding = iMilliseconds;
    m_bands.Clear();
    return true;
}

bool CGstPlayer::SeekWithin(gint64 iMilliseconds)
{
    if (!Land(iMilliseconds))
        return false;
    m_bSeeking = true;
    m_bEnded = false;
    return true;
}

// Media that cannot seek refuse the seek and play on: seeking anyway would
// fail the stream.
bool CGstPlayer::SeekTo(long lMilliseconds)
{
    if (m_eState < PLAYER_STATE_READY || lMilliseconds < 0 || !m_pPipeline->CanSeek())
        return false;
    gint64 iDuration = 0;
    if (m_pPipeline->QueryDuration(iDuration) && lMilliseconds > iDuration)
        return false;
    return SeekWithin(lMilliseconds);
}

bool CGstPlayer::Skip(int iMilliseconds)
{
    gint64 iPosition = 0;
    if (m_eState < PLAYER_STATE_READY || !m_pPipeline->CanSeek() || !QueryPosition(iPosition))
        return false;
    gint64 iTarget = std::max<gint64>(0, iPosition + iMilliseconds);
    gint64 iDuration = 0;
    if (m_pPipeline->QueryDuration(iDuration))
        iTarget = std::min(iTarget, iDuration);
    return SeekWithin(iTarget);
}

bool CGstPlayer::GetDuration(unsigned long& ulMilliseconds) const
{
    gint64 iDuration = 0;
    if (m_eState < PLAYER_STATE_READY || !m_pPipeline->QueryDuration(iDuration))
        return false;
    ulMilliseconds = static_cast<unsigned long>(iDuration);
    return true;
}

bool CGstPlayer::QueryPosition(gint64& iMilliseconds) const
{
    if (m_iLanding >= 0) {
        iMilliseconds = m_iLanding;
        return true;
    }
    return m_pPipeline->QueryPosition(iMilliseconds);
}

bool CGstPlayer::GetPosition(unsigned long long& ullMilliseconds) const
{
    gint64 iPosition = 0;
    if (m_eState < PLAYER_STATE_READY || !QueryPosition(iPosition))
        return false;
    ullMilliseconds = static_cast<unsigned long long>(iPosition);
    return true;
}

bool CGstPlayer::Suspend()
{
    if (!m_pPipeline || m_eState == PLAYER_STATE_NONE)
        return false;
    if (m_suspended.m_bValid && m_eState == PLAYER_STATE_IDLE)
        return true;
    CSuspended suspended;
    suspended.m_bValid = true;
    suspended.m_strUri = m_strUri;
    suspended.m_eState = m_eState;
    gint64 iPosition = std::max<long>(m_lStartPosition, 0);
    if (m_eState >= PLAYER_STATE_READY)
        QueryPosition(iPosition);
    suspended.m_lPosition = static_cast<long>(iPosition);
    Unprepare();
    m_suspended = suspended;
    return true;
}

bool CGstPlayer::Restore(const std::string& strMedia, long lMilliseconds, bool bPrepare)
{
    if (!m_pPipeline)
        return false;
    const CSuspended suspended = m_suspended;
    std::string strUri = strMedia;
    if (strUri.empty())
        strUri = suspended.m_bValid ? suspended.m_strUri : m_strUri;
    long lStart = lMilliseconds;
    if (lStart < 0)
        lStart = suspended.m_bValid ? suspended.m_lPosition : 0;
    if (!SetUri(strUri))
        return false;
    m_lStartPosition = lStart > 0 ? lStart : -1;
    if (!bPrepare)
        return true;
    if (!Preroll())
        return false;
    if (suspended.m_bValid && suspended.m_eState == PLAYER_STATE_PLAYING)
        return Play();
    if (suspended.m_bValid && suspended.m_eState == PLAYER_STATE_PAUSED)
        m_eState = PLAYER_STATE_PAUSED;
    return true;
}

bool CGstPlayer::SetSoundAnalysis(bool bOn)
{
    if (bOn && m_pPipeline && !m_pPipeline->HasAnalysis())
        return false;
    m_bAnalysis = bOn;
    return true;
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
