// What the pipeline tells the player, and the player's clock tick: the
// sources of every event. All of it runs on the worker.
#include "GstPlayer.h"

#include <algorithm>

#include "GstSoundAnalysis.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

std::string SourceName(GstMessage* pMessage)
{
    GstObject* pSource = GST_MESSAGE_SRC(pMessage);
    return pSource != nullptr && GST_OBJECT_NAME(pSource) != nullptr ? GST_OBJECT_NAME(pSource) : "";
}

// An adaptive demuxer passes on a segment's error with the source's debug
// text inside its message; the app hears the message alone.
std::string WithoutDebugText(const std::string& strMessage)
{
    std::string::size_type uCut = std::min(strMessage.find(": ../"), strMessage.find('\n'));
    return strMessage.substr(0, uCut);
}

}  // namespace

// Messages of a pipeline started for media the commands have since left
// are dropped.
void CGstPlayer::OnMessage(GstMessage* pMessage)
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_ulPipelineMedia != m_ulMedia)
            return;
    }
    switch (GST_MESSAGE_TYPE(pMessage)) {
    case GST_MESSAGE_ERROR:
        OnError(pMessage);
        break;
    case GST_MESSAGE_EOS:
        OnEndOfStream();
        break;
    case GST_MESSAGE_ASYNC_DONE:
        OnAsyncDone();
        break;
    case GST_MESSAGE_BUFFERING:
        OnBuffering(pMessage);
        break;
    case GST_MESSAGE_REQUEST_STATE:
        OnRequestState(pMessage);
        break;
    case GST_MESSAGE_DURATION_CHANGED:
        LearnMedia();
        break;
    case GST_MESSAGE_ELEMENT: {
        CBandSet bandSet;
        if (ReadBands(pMessage, bandSet))
            m_bands.Add(std::move(bandSet));
        break;
    }
    default:
        break;
    }
}

void CGstPlayer::OnError(GstMessage* pMessage)
{
    GError* pError = nullptr;
    gchar* pszDebug = nullptr;
    gst_message_parse_error(pMessage, &pError, &pszDebug);
    int iCode = pError != nullptr ? pError->code : 0;
    std::string strMessage = pError != nullptr && pError->message != nullptr ? WithoutDebugText(pError->message) : "";
    std::string strDebug = pszDebug != nullptr ? pszDebug : "";
    g_clear_error(&pError);
    g_free(pszDebug);
    // The media stay set: a later prepare tries again.
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ForgetMediaLocked();
    }
    StopPipeline();
    m_events.Error(iCode, strMessage, strDebug);
}

// A completion that arrives while the pipeline still prerolls is that of an
// earlier change; a seek lands once the last one posted has been made.
void CGstPlayer::OnAsyncDone()
{
    if (m_pPipeline->IsPrerolling())
        return;
    bool bPreparing;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        bPreparing = m_bPreparing;
        if (!bPreparing) {
            if (!m_bSeeking || m_iSeekMade != m_iLanding)
                return;
            m_bSeeking = false;
            m_iLanding = -1;
            m_iSeekMade = -1;
        }
    }
    if (bPreparing)
        CompletePrepare();
    else
        Complete(KITE_BRIDGE_SEEK_COMPLETE);
}

void CGstPlayer::OnEndOfStream()
{
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_eState != PLAYER_STATE_PLAYING)
            return;
        m_bEnded = true;
        m_eState = PLAYER_STATE_READY;
    }
    WantPlaying(false);
    Settle(GST_STATE_PAUSED);
    m_events.Completion(KITE_BRIDGE_PLAY_COMPLETE);
}

// Network media: playback waits while the buffer fills. The app hears the
// levels that the buffering rule admits.
void CGstPlayer::OnBuffering(GstMessage* pMessage)
{
    gint iPercent = 0;
    gst_message_parse_buffering(pMessage, &iPercent);
    m_iLevel = iPercent;
    if (m_bPlayWanted) {
        if (iPercent < 100 && !m_bHeldForBuffering) {
            m_pPipeline->SetState(GST_STATE_PAUSED);
            m_bHeldForBuffering = true;
        } else if (iPercent >= 100 && m_bHeldForBuffering) {
            m_pPipeline->SetState(GST_STATE_PLAYING);
            m_bHeldForBuffering = false;
        }
    }
    if (!m_buffering.Admit(iPercent, g_get_monotonic_time()))
        return;
    m_events.Buffering(iPercent);
    if (!m_buffering.IsOpen())
        ReleaseCompletions();
}

// The sound server asks the player to give up its output for a while, or
// gives it back; the event's type is the state asked for.
void CGstPlayer::OnRequestState(GstMessage* pMessage)
{
    GstState eRequested = GST_STATE_VOID_PENDING;
    gst_message_parse_request_state(pMessage, &eRequested);
    const char* pszRequested = gst_element_state_get_name(eRequested);
    bool bPause = false;
    bool bResume = false;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (eRequested == GST_STATE_PAUSED && m_eState == PLAYER_STATE_PLAYING) {
            m_bPausedBySoundServer = true;
            m_eState = PLAYER_STATE_PAUSED;
            bPause = true;
        } else if (eRequested == GST_STATE_PLAYING && m_eState == PLAYER_STATE_PAUSED && m_bPausedBySoundServer) {
            m_bPausedBySoundServer = false;
            m_eState = PLAYER_STATE_PLAYING;
            bResume = true;
        }
    }
    if (bPause) {
        WantPlaying(false);
        Settle(GST_STATE_PAUSED);
        m_events.AsmPause(eRequested, SourceName(pMessage), pszRequested);
    } else if (bResume) {
        WantPlaying(true);
        m_events.AsmResume(eRequested, SourceName(pMessage), pszRequested);
    }
}

gboolean CGstPlayer::OnTick(gpointer pData)
{
    static_cast<CGstPlayer*>(pData)->Tick();
    return G_SOURCE_CONTINUE;
}

void CGstPlayer::Tick()
{
    gint64 iPosition = 0;
    bool bAnalysis;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        if (m_eState != PLAYER_STATE_PLAYING)
            return;
        iPosition = m_iLanding;
        bAnalysis = m_bAnalysis;
    }
    if (iPosition < 0 && !(m_pPipeline && m_pPipeline->QueryPosition(iPosition)))
        return;
    m_events.CurrentTime(static_cast<unsigned long long>(iPosition));
    if (!bAnalysis)
        return;
    const std::vector<int>& aBands = m_bands.At(iPosition);
    if (!aBands.empty())
        m_events.SoundAnalysis(aBands);
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
