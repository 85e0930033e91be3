#include "GstPlayer.h"

#include <glib/gstdio.h>

#include <algorithm>

#include "GstMediaUri.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

// A synchronous prepare, and the seek to a restored position, give up after
// this long rather than hold the caller's thread.
const int PREROLL_TIMEOUT_MS = 10000;
// The worker waits this long at most for the pipeline's own state changes
// and seeks, so that their completions are not taken for later ones.
const int SETTLE_TIMEOUT_MS = 2000;
// The current time and the sound-analysis bands are reported this often,
// counted from the start of play.
const guint TICK_MS = 100;
// A buffering period that does not end holds completions no longer than this.
const guint HOLD_COMPLETIONS_MS = 5000;

const char* const USER_AGENT_PROPERTY = "USER_AGENT";

bool HasFactory(const char* pszName)
{
    GstElementFactory* pFactory = gst_element_factory_find(pszName);
    if (pFactory == nullptr)
        return false;
    gst_object_unref(pFactory);
    return true;
}

// A local file that cannot be read fails its start at once; the answer to
// an asynchronous prepare says so without waiting for the pipeline.
bool LooksReadable(const std::string& strUri)
{
    gchar* pszPath = g_filename_from_uri(strUri.c_str(), nullptr, nullptr);
    if (pszPath == nullptr)
        return true;
    bool bReadable = g_file_test(pszPath, G_FILE_TEST_IS_REGULAR) && g_access(pszPath, R_OK) == 0;
    g_free(pszPath);
    return bReadable;
}

}  // namespace

CGstPlayer::CGstPlayer(CGstEvents& events)
    : m_events(events)
{
}

CGstPlayer::~CGstPlayer()
{
    m_worker.Call([this] {
        if (m_pTick != nullptr) {
            g_source_destroy(m_pTick);
            g_source_unref(m_pTick);
            m_pTick = nullptr;
        }
        DropHeldCompletions();
        m_pPipeline.reset();
        return true;
    });
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_pQueried != nullptr)
        gst_object_unref(m_pQueried);
}

// ---- Commands: on the caller's thread, never waiting for the pipeline ----

void CGstPlayer::ForgetMediaLocked()
{
    ++m_ulMedia;
    m_lStartPosition = -1;
    m_iLanding = -1;
    m_bPreparing = false;
    m_bSeeking = false;
    m_bEnded = false;
    m_bAtEnd = false;
    m_bPausedBySoundServer = false;
    m_bSeekable = false;
    m_iDuration = -1;
    m_eState = m_strUri.empty() ? PLAYER_STATE_NONE : PLAYER_STATE_IDLE;
}

void CGstPlayer::PostForMedia(std::function<void()> fn)
{
    const unsigned long ulMedia = m_ulMedia;
    m_worker.Post([this, ulMedia, fn] {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_ulMedia != ulMedia)
                return;
        }
        fn();
    });
}

bool CGstPlayer::Create()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_bCreated)
        return true;
    if (!HasFactory("playbin"))
        return false;
    m_bCreated = true;
    m_bHasAnalysis = CanAnalyse();
    m_eState = PLAYER_STATE_NONE;
    m_worker.Post([this] { MakePipeline(); });
    return true;
}

void CGstPlayer::SetUriLocked(const std::string& strUri)
{
    m_strUri = strUri;
    m_suspended = CSuspended();
    ForgetMediaLocked();
    m_worker.Post([this] { StopPipeline(); });
}

bool CGstPlayer::SetUri(const std::string& strMedia)
{
    std::string strUri;
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_bCreated || !ToMediaUri(strMedia, strUri))
        return false;
    SetUriLocked(strUri);
    return true;
}

bool CGstPlayer::Close()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_bCreated)
        return false;
    SetUriLocked("");
    return true;
}

bool CGstPlayer::PrepareLocked(std::unique_lock<std::mutex>& lock)
{
    if (!m_bCreated || m_eState == PLAYER_STATE_NONE || m_bPreparing)
        return false;
    if (m_eState != PLAYER_STATE_IDLE)
        return true;
    const unsigned long ulMedia = m_ulMedia;
    lock.unlock();
    bool bReady = m_worker.Call([this, ulMedia] {
        {
            std::lock_guard<std::mutex> guard(m_lock);
            if (m_ulMedia != ulMedia)
                return false;
        }
        return Preroll(false);
    });
    lock.lock();
    return bReady && m_ulMedia == ulMedia;
}

bool CGstPlayer::Prepare()
{
    std::unique_lock<std::mutex> lock(m_lock);
    return PrepareLocked(lock);
}

bool CGstPlayer::PrepareAsync()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_bCreated || m_eState == PLAYER_STATE_NONE)
        return false;
    if (m_eState != PLAYER_STATE_IDLE) {
        PostForMedia([this] { Complete(KITE_BRIDGE_PREPARE_COMPLETE); });
        return true;
    }
    if (m_bPreparing)
        return true;
    m_bPreparing = true;
    PostForMedia([this] { StartAsync(); });
    return LooksReadable(m_strUri);
}

bool CGstPlayer::SetStreamingProperty(const std::string& strType, const std::string& strParam)
{
    if (strType != USER_AGENT_PROPERTY)
        return false;
    std::lock_guard<std::mutex> guard(m_lock);
    m_strUserAgent = strParam;
    m_worker.Post([this, strParam] {
        if (m_pPipeline)
            m_pPipeline->SetUserAgent(strParam);
    });
    return true;
}

// The position answers where the pause was asked for, though the pipeline
// stops a moment later.
bool CGstPlayer::Pause()
{
    std::unique_lock<std::mutex> lock(m_lock);
    if (m_eState == PLAYER_STATE_PAUSED)
        return true;
    if (m_eState != PLAYER_STATE_PLAYING)
        return false;
    gint64 iPosition = 0;
    if (!m_bSeeking && PositionLocked(lock, iPosition) && !m_bSeeking && m_eState == PLAYER_STATE_PLAYING)
        m_iLanding = iPosition;
    if (m_eState != PLAYER_STATE_PLAYING)
        return m_eState == PLAYER_STATE_PAUSED;
    m_bPausedBySoundServer = false;
    m_eState = PLAYER_STATE_PAUSED;
    PostForMedia([this] { RunPause(); });
    return true;
}

bool CGstPlayer::PlayLocked()
{
    if (m_eState == PLAYER_STATE_PLAYING)
        return true;
    if (m_eState != PLAYER_STATE_READY && m_eState != PLAYER_STATE_PAUSED)
        return false;
    // Landed at the end while not playing: the play ends there at once.
    if (m_bAtEnd) {
        m_bAtEnd = false;
        m_bEnded = true;
        m_eState = PLAYER_STATE_READY;
        m_worker.Post([this] { m_events.Completion(KITE_BRIDGE_PLAY_COMPLETE); });
        return true;
    }
    const bool bFromStart = m_bEnded;
    m_bEnded = false;
    if (bFromStart)
        m_iLanding = 0;
    m_bPausedBySoundServer = false;
    m_eState = PLAYER_STATE_PLAYING;
    PostForMedia([this, bFromStart] { RunPlay(bFromStart); });
    return true;
}

bool CGstPlayer::Play()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return PlayLocked();
}

bool CGstPlayer::Stop()
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_eState != PLAYER_STATE_READY && m_eState != PLAYER_STATE_PLAYING && m_eState != PLAYER_STATE_PAUSED)
        return false;
    m_bSeeking = false;
    m_bEnded = false;
    m_bAtEnd = false;
    m_bPausedBySoundServer = false;
    m_eState = PLAYER_STATE_READY;
    m_iLanding = 0;
    PostForMedia([this] { RunStop(); });
    return true;
}

// Media that cannot seek refuse the seek and play on: seeking anyway would
// fail the stream.
bool CGstPlayer::SeekTo(long lMilliseconds)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_eState < PLAYER_STATE_READY || lMilliseconds < 0 || !m_bSeekable)
        return false;
    if (m_iDuration >= 0 && lMilliseconds > m_iDuration)
        return false;
    SeekLocked(lMilliseconds);
    return true;
}

// Skips count from where the previous one lands, so that skips in a row add
// up however far the pipeline has got.
bool CGstPlayer::Skip(int iMilliseconds)
{
    std::unique_lock<std::mutex> lock(m_lock);
    gint64 iPosition = 0;
    if (m_eState < PLAYER_STATE_READY || !m_bSeekable || !PositionLocked(lock, iPosition))
        return false;
    gint64 iTarget = std::max<gint64>(0, iPosition + iMilliseconds);
    if (m_iDuration >= 0)
        iTarget = std::min(iTarget, m_iDuration);
    SeekLocked(iTarget);
    return true;
}

// A seek to the very end is the end of playback: the pipeline is not asked
// (some adaptive streams refuse a seek there, or fail on it).
void CGstPlayer::SeekLocked(gint64 iTarget)
{
    m_iLanding = iTarget;
    m_bSeeking = true;
    m_bEnded = false;
    m_bAtEnd = false;
    if (m_iDuration >= 0 && iTarget >= m_iDuration)
        PostForMedia([this, iTarget] { RunEnd(iTarget); });
    else
        PostForMedia([this, iTarget] { RunSeek(iTarget); });
}

bool CGstPlayer::GetDuration(unsigned long& ulMilliseconds)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_eState < PLAYER_STATE_READY || m_iDuration < 0)
        return false;
    ulMilliseconds = static_cast<unsigned long>(m_iDuration);
    return true;
}

// The pipeline answers a position query without its worker, so the lock is
// let go meanwhile.
bool CGstPlayer::PositionLocked(std::unique_lock<std::mutex>& lock, gint64& iMilliseconds)
{
    if (m_iLanding >= 0) {
        iMilliseconds = m_iLanding;
        return true;
    }
    if (m_pQueried == nullptr)
        return false;
    GstElement* pPlaybin = GST_ELEMENT(gst_object_ref(m_pQueried));
    lock.unlock();
    bool bKnown = QueryPlaybackPosition(pPlaybin, iMilliseconds);
    gst_object_unref(pPlaybin);
    lock.lock();
    return bKnown;
}

bool CGstPlayer::GetPosition(unsigned long long& ullMilliseconds)
{
    std::unique_lock<std::mutex> lock(m_lock);
    gint64 iPosition = 0;
    if (m_eState < PLAYER_STATE_READY || !PositionLocked(lock, iPosition))
        return false;
    ullMilliseconds = static_cast<unsigned long long>(iPosition);
    return true;
}

player_state_e CGstPlayer::State()
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_eState;
}

bool CGstPlayer::Suspend()
{
    std::unique_lock<std::mutex> lock(m_lock);
    if (!m_bCreated || m_eState == PLAYER_STATE_NONE)
        return false;
    if (m_suspended.m_bValid && m_eState == PLAYER_STATE_IDLE)
        return true;
    CSuspended suspended;
    suspended.m_bValid = true;
    suspended.m_strUri = m_strUri;
    suspended.m_eState = m_eState;
    gint64 iPosition = std::max<long>(m_lStartPosition, 0);
    if (m_eState >= PLAYER_STATE_READY)
        PositionLocked(lock, iPosition);
    suspended.m_lPosition = static_cast<long>(iPosition);
    ForgetMediaLocked();
    m_suspended = suspended;
    m_worker.Post([this] { StopPipeline(); });
    return true;
}

bool CGstPlayer::Restore(const std::string& strMedia, long lMilliseconds, bool bPrepare)
{
    std::unique_lock<std::mutex> lock(m_lock);
    if (!m_bCreated)
        return false;
    const CSuspended suspended = m_suspended;
    std::string strUri = strMedia;
    if (strUri.empty())
        strUri = suspended.m_bValid ? suspended.m_strUri : m_strUri;
    long lStart = lMilliseconds;
    if (lStart < 0)
        lStart = suspended.m_bValid ? suspended.m_lPosition : 0;
    std::string strMediaUri;
    if (!ToMediaUri(strUri, strMediaUri))
        return false;
    SetUriLocked(strMediaUri);
    m_lStartPosition = lStart > 0 ? lStart : -1;
    if (!bPrepare)
        return true;
    if (!PrepareLocked(lock))
        return false;
    if (suspended.m_bValid && suspended.m_eState == PLAYER_STATE_PLAYING)
        return PlayLocked();
    if (suspended.m_bValid && suspended.m_eState == PLAYER_STATE_PAUSED)
        m_eState = PLAYER_STATE_PAUSED;
    return true;
}

bool CGstPlayer::SetSoundAnalysis(bool bOn)
{
    std::lock_guard<std::mutex> guard(m_lock);
    if (bOn && !m_bHasAnalysis)
        return false;
    m_bAnalysis = bOn;
    return true;
}

// ---- The pipeline's work: on the worker ----

void CGstPlayer::MakePipeline()
{
    m_pPipeline = CGstPipeline::Make(m_worker.Context(), [this](GstMessage* pMessage) { OnMessage(pMessage); });
    if (!m_pPipeline) {
        g_printerr("cinecast: the GStreamer player cannot make its pipeline\n");
        return;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_pPipeline->SetUserAgent(m_strUserAgent);
    m_pQueried = GST_ELEMENT(gst_object_ref(m_pPipeline->Playbin()));
}

// Going to NULL also drops the messages still on the bus.
void CGstPlayer::StopPipeline()
{
    if (m_pPipeline)
        m_pPipeline->SetState(GST_STATE_NULL);
    WantPlaying(false);
    m_iLevel = -1;
    m_buffering.Reset();
    DropHeldCompletions();
    m_bands.Clear();
}

// playbin forgets its media after a failed start, so every start from the
// stopped state names them again.
GstStateChangeReturn CGstPlayer::Start()
{
    if (!m_pPipeline)
        return GST_STATE_CHANGE_FAILURE;
    std::string strUri;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        strUri = m_strUri;
        m_ulPipelineMedia = m_ulMedia;
    }
    // Closed while a task of the media before was on its way.
    if (strUri.empty())
        return GST_STATE_CHANGE_FAILURE;
    m_buffering.Reset();
    m_iLevel = -1;
    m_pPipeline->SetUri(strUri);
    return m_pPipeline->SetState(GST_STATE_PAUSED);
}

// What the player answers from: learnt once the media are prepared, and
// again when the pipeline says the duration changed.
void CGstPlayer::LearnMedia()
{
    gint64 iDuration = -1;
    if (!m_pPipeline->QueryDuration(iDuration))
        iDuration = -1;
    const bool bSeekable = m_pPipeline->CanSeek();
    std::lock_guard<std::mutex> guard(m_lock);
    m_iDuration = iDuration;
    m_bSeekable = bSeekable;
}

// Prepares on the worker, waiting: a reopen keeps the state the commands
// have set; a prepare makes it ready.
bool CGstPlayer::Preroll(bool bReopen)
{
    GstStateChangeReturn eResult = Start();
    bool bReady = eResult != GST_STATE_CHANGE_FAILURE;
    if (bReady && eResult == GST_STATE_CHANGE_ASYNC)
        bReady = m_pPipeline->WaitForAsyncDone(PREROLL_TIMEOUT_MS);
    if (bReady)
        LearnMedia();
    long lStart;
    bool bSeekable;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        lStart = m_lStartPosition;
        bSeekable = m_bSeekable;
    }
    // Media that cannot seek start from the beginning.
    if (bReady && lStart > 0 && bSeekable && m_pPipeline->Seek(lStart))
        bReady = m_pPipeline->WaitForAsyncDone(PREROLL_TIMEOUT_MS);
    if (!bReady) {
        FailStart();
        return false;
    }
    std::lock_guard<std::mutex> guard(m_lock);
    m_lStartPosition = -1;
    if (lStart > 0 && bSeekable)
        m_iLanding = lStart;
    if (!bReopen)
        m_eState = PLAYER_STATE_READY;
    return true;
}

// The media could not be prepared: the errors behind it are reported before
// the bus is dropped, and the media stay set, not prepared.
void CGstPlayer::FailStart()
{
    if (m_pPipeline)
        m_pPipeline->HandlePending();
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_ulMedia == m_ulPipelineMedia)
            ForgetMediaLocked();
    }
    StopPipeline();
}

void CGstPlayer::StartAsync()
{
    GstStateChangeReturn eResult = Start();
    if (eResult == GST_STATE_CHANGE_FAILURE) {
        FailStart();
        return;
    }
    if (eResult != GST_STATE_CHANGE_ASYNC)
        CompletePrepare();
}

// Called when the preroll has landed: first at the start position, if one
// is set and the media can seek, then ready. The position answers the start
// position exactly until playback moves.
void CGstPlayer::CompletePrepare()
{
    LearnMedia();
    long lStart;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_bPreparing)
            return;
        lStart = m_bSeekable ? m_lStartPosition : -1;
        m_lStartPosition = -1;
    }
    if (lStart > 0 && m_pPipeline->Seek(lStart)) {
        std::lock_guard<std::mutex> guard(m_lock);
        m_iLanding = lStart;
        return;
    }
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_bPreparing)
            return;
        m_bPreparing = false;
        m_eState = PLAYER_STATE_READY;
    }
    Complete(KITE_BRIDGE_PREPARE_COMPLETE);
}

void CGstPlayer::Complete(KiteBridgeCallBack eCode)
{
    if (!m_buffering.IsOpen()) {
        m_events.Completion(eCode);
        return;
    }
    m_aHeldCompletions.push_back(eCode);
    if (m_pHoldTimeout == nullptr) {
        m_pHoldTimeout = g_timeout_source_new(HOLD_COMPLETIONS_MS);
        g_source_set_callback(m_pHoldTimeout, OnHoldExpired, this, nullptr);
        g_source_attach(m_pHoldTimeout, m_worker.Context());
    }
}

void CGstPlayer::ReleaseCompletions()
{
    std::vector<KiteBridgeCallBack> aHeld;
    aHeld.swap(m_aHeldCompletions);
    DropHeldCompletions();
    for (KiteBridgeCallBack eCode : aHeld)
        m_events.Completion(eCode);
}

gboolean CGstPlayer::OnHoldExpired(gpointer pData)
{
    static_cast<CGstPlayer*>(pData)->ReleaseCompletions();
    return G_SOURCE_REMOVE;
}

void CGstPlayer::DropHeldCompletions()
{
    m_aHeldCompletions.clear();
    if (m_pHoldTimeout != nullptr) {
        g_source_destroy(m_pHoldTimeout);
        g_source_unref(m_pHoldTimeout);
        m_pHoldTimeout = nullptr;
    }
}

// Changes the pipeline's state and waits until the change has completed,
// so that its completion is not taken later for that of a seek. False when
// the change failed.
bool CGstPlayer::Settle(GstState eState)
{
    if (!m_pPipeline)
        return false;
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
    m_bands.Clear();
    if (m_pPipeline && m_pPipeline->Seek(iMilliseconds))
        m_pPipeline->WaitForAsyncDone(SETTLE_TIMEOUT_MS);
}

// Back to the start: a seek where the media can seek, else they are opened
// again (an HTTP server without byte ranges or without a length, a live
// stream).
void CGstPlayer::Rewind()
{
    bool bSeekable;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        // The media were closed or replaced while this task waited for the
        // pipeline: the next media start on their own.
        if (m_ulMedia != m_ulPipelineMedia)
            return;
        bSeekable = m_bSeekable;
    }
    m_buffering.Reset();
    if (bSeekable) {
        SettleSeek(0);
        return;
    }
    StopPipeline();
    Preroll(true);
}

void CGstPlayer::RunPause()
{
    WantPlaying(false);
    if (!Settle(GST_STATE_PAUSED)) {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_eState == PLAYER_STATE_PAUSED)
            m_eState = PLAYER_STATE_PLAYING;
        if (!m_bSeeking)
            m_iLanding = -1;
    }
}

// Going to PLAYING is not waited for: a pipeline still prerolling (after a
// seek back to the start) plays once it can, and the worker stays free for
// the clock tick meanwhile.
void CGstPlayer::RunPlay(bool bFromStart)
{
    if (bFromStart)
        Rewind();
    // A landing answered until now (a restored position, the start) gives
    // way to the pipeline's position as playback moves.
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (!m_bSeeking)
            m_iLanding = -1;
    }
    RestartTick();
    if (WantPlaying(true))
        return;
    if (m_pPipeline)
        m_pPipeline->HandlePending();
    std::lock_guard<std::mutex> guard(m_lock);
    if (m_eState == PLAYER_STATE_PLAYING)
        m_eState = PLAYER_STATE_READY;
}

// Whether the pipeline is to play, as the commands left it: it then plays
// unless its buffer is filling, and waits for the level to reach 100 (the
// hold is taken before playing rather than after, as playing and pausing at
// once may leave an adaptive stream stalled). False when the change failed.
bool CGstPlayer::WantPlaying(bool bWanted)
{
    m_bPlayWanted = bWanted;
    m_bHeldForBuffering = bWanted && m_iLevel >= 0 && m_iLevel < 100;
    if (!bWanted || m_bHeldForBuffering)
        return true;
    return m_pPipeline && m_pPipeline->SetState(GST_STATE_PLAYING) != GST_STATE_CHANGE_FAILURE;
}

void CGstPlayer::RunStop()
{
    WantPlaying(false);
    Settle(GST_STATE_PAUSED);
    Rewind();
    std::lock_guard<std::mutex> guard(m_lock);
    if (!m_bSeeking)
        m_iLanding = -1;
}

// Only the last of the seeks posted in a row is made, and the worker waits
// for it to land before it makes another: a demuxer reading over HTTP drops
// a seek that comes while it still carries out the one before. A playing
// pipeline is paused for the seek: the buffering hold's pause, coming while
// a seek made in play flushes, kept the running time from before the seek,
// and playback went on that far past the target.
void CGstPlayer::RunSeek(gint64 iMilliseconds)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_iLanding != iMilliseconds || !m_bSeeking)
            return;
    }
    m_bands.Clear();
    m_buffering.Reset();
    const bool bPlaying = m_bPlayWanted;
    if (bPlaying) {
        WantPlaying(false);
        Settle(GST_STATE_PAUSED);
    }
    {
        // Made only now, so that the pause's completion is not the landing.
        std::lock_guard<std::mutex> guard(m_lock);
        m_iSeekMade = iMilliseconds;
    }
    const bool bMade = m_pPipeline && m_pPipeline->Seek(iMilliseconds);
    if (bMade)
        m_pPipeline->WaitForAsyncDone(SETTLE_TIMEOUT_MS);
    if (bPlaying)
        WantPlaying(true);
    if (bMade)
        return;
    // A seek the pipeline refused still completes, where playback is.
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_iLanding != iMilliseconds || !m_bSeeking)
            return;
        m_iLanding = -1;
        m_bSeeking = false;
    }
    m_events.Completion(KITE_BRIDGE_SEEK_COMPLETE);
}

// Landed at the end: playing, playback ends there, and the next play starts
// from the beginning; else the next play ends at once. The position stays
// at the end meanwhile.
void CGstPlayer::RunEnd(gint64 iEnd)
{
    bool bEnds;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_iLanding != iEnd || !m_bSeeking)
            return;
        m_bSeeking = false;
        bEnds = m_eState == PLAYER_STATE_PLAYING;
        m_bEnded = bEnds;
        m_bAtEnd = !bEnds;
        if (bEnds)
            m_eState = PLAYER_STATE_READY;
    }
    WantPlaying(false);
    Settle(GST_STATE_PAUSED);
    m_events.Completion(KITE_BRIDGE_SEEK_COMPLETE);
    if (bEnds)
        m_events.Completion(KITE_BRIDGE_PLAY_COMPLETE);
}

void CGstPlayer::RestartTick()
{
    if (m_pTick != nullptr) {
        g_source_destroy(m_pTick);
        g_source_unref(m_pTick);
    }
    m_pTick = g_timeout_source_new(TICK_MS);
    g_source_set_callback(m_pTick, OnTick, this, nullptr);
    g_source_attach(m_pTick, m_worker.Context());
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
