#include "GstPipeline.h"

#include "GstSinks.h"
#include "GstSoundAnalysis.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

gint64 ToMilliseconds(gint64 iNanoseconds)
{
    return (iNanoseconds + GST_MSECOND / 2) / GST_MSECOND;
}

// Header names are matched whatever their case.
gboolean FindAcceptRanges(GQuark field, const GValue* pValue, gpointer pData)
{
    if (g_ascii_strcasecmp(g_quark_to_string(field), "Accept-Ranges") == 0 && G_VALUE_HOLDS_STRING(pValue))
        *static_cast<const gchar**>(pData) = g_value_get_string(pValue);
    return TRUE;
}

}  // namespace

bool QueryPlaybackPosition(GstElement* pPlaybin, gint64& iMilliseconds)
{
    gint64 iNanoseconds = 0;
    if (!gst_element_query_position(pPlaybin, GST_FORMAT_TIME, &iNanoseconds) || iNanoseconds < 0)
        return false;
    iMilliseconds = ToMilliseconds(iNanoseconds);
    return true;
}

std::unique_ptr<CGstPipeline> CGstPipeline::Make(GMainContext* pContext, MessageHandler onMessage)
{
    GstElement* pPlaybin = gst_element_factory_make("playbin", nullptr);
    if (pPlaybin == nullptr)
        return nullptr;
    gst_object_ref_sink(pPlaybin);
    GstElement* pAudio = MakeSink(EOutput::Audio);
    GstElement* pVideo = MakeSink(EOutput::Video);
    if (pAudio == nullptr || pVideo == nullptr) {
        if (pAudio != nullptr)
            gst_object_unref(gst_object_ref_sink(pAudio));
        if (pVideo != nullptr)
            gst_object_unref(gst_object_ref_sink(pVideo));
        gst_object_unref(pPlaybin);
        return nullptr;
    }
    g_object_set(pPlaybin, "audio-sink", pAudio, "video-sink", pVideo, nullptr);
    GstElement* pAnalysis = MakeAnalysisFilter();
    if (pAnalysis != nullptr)
        g_object_set(pPlaybin, "audio-filter", pAnalysis, nullptr);
    return std::unique_ptr<CGstPipeline>(new CGstPipeline(pPlaybin, pAnalysis, pContext, std::move(onMessage)));
}

CGstPipeline::CGstPipeline(GstElement* pPlaybin, GstElement* pAnalysis, GMainContext* pContext,
                           MessageHandler onMessage)
    : m_pPlaybin(pPlaybin)
    , m_pAnalysis(pAnalysis)
    , m_pBusWatch(nullptr)
    , m_onMessage(std::move(onMessage))
{
    g_signal_connect(m_pPlaybin, "source-setup", G_CALLBACK(OnSourceSetup), this);
    GstBus* pBus = gst_element_get_bus(m_pPlaybin);
    m_pBusWatch = gst_bus_create_watch(pBus);
    g_source_set_callback(m_pBusWatch, G_SOURCE_FUNC(OnBusMessage), this, nullptr);
    g_source_attach(m_pBusWatch, pContext);
    gst_object_unref(pBus);
}

CGstPipeline::~CGstPipeline()
{
    g_source_destroy(m_pBusWatch);
    g_source_unref(m_pBusWatch);
    // Returns once every streaming thread of the pipeline has stopped.
    gst_element_set_state(m_pPlaybin, GST_STATE_NULL);
    g_signal_handlers_disconnect_by_data(m_pPlaybin, this);
    gst_object_unref(m_pPlaybin);
}

void CGstPipeline::Dispatch(GstMessage* pMessage)
{
    if (GST_MESSAGE_TYPE(pMessage) == GST_MESSAGE_ASYNC_DONE && GST_MESSAGE_SRC(pMessage) == GST_OBJECT(m_pPlaybin))
        ++m_uAsyncDone;
    else if (GST_MESSAGE_TYPE(pMessage) == GST_MESSAGE_ERROR)
        ++m_uErrors;
    else if (GST_MESSAGE_TYPE(pMessage) == GST_MESSAGE_ELEMENT)
        ReadHttpHeaders(pMessage);
    m_onMessage(pMessage);
}

void CGstPipeline::ReadHttpHeaders(GstMessage* pMessage)
{
    const GstStructure* pData = gst_message_get_structure(pMessage);
    if (pData == nullptr || !gst_structure_has_name(pData, "http-headers"))
        return;
    const GstStructure* pResponse = nullptr;
    const GValue* pValue = gst_structure_get_value(pData, "response-headers");
    if (pValue != nullptr && GST_VALUE_HOLDS_STRUCTURE(pValue))
        pResponse = gst_value_get_structure(pValue);
    const gchar* pszRanges = nullptr;
    if (pResponse != nullptr)
        gst_structure_foreach(pResponse, FindAcceptRanges, &pszRanges);
    m_bHttpWithoutRanges = pszRanges == nullptr || g_strrstr(pszRanges, "bytes") == nullptr;
}

gboolean CGstPipeline::OnBusMessage(GstBus*, GstMessage* pMessage, gpointer pData)
{
    static_cast<CGstPipeline*>(pData)->Dispatch(pMessage);
    return G_SOURCE_CONTINUE;
}

void CGstPipeline::OnSourceSetup(GstElement*, GstElement* pSource, gpointer pData)
{
    CGstPipeline* pThis = static_cast<CGstPipeline*>(pData);
    std::lock_guard<std::mutex> guard(pThis->m_sourceLock);
    if (!pThis->m_strUserAgent.empty() &&
        g_object_class_find_property(G_OBJECT_GET_CLASS(pSource), "user-agent") != nullptr)
        g_object_set(pSource, "user-agent", pThis->m_strUserAgent.c_str(), nullptr);
}

void CGstPipeline::SetUri(const std::string& strUri)
{
    m_bHttpWithoutRanges = false;
    g_object_set(m_pPlaybin, "uri", strUri.c_str(), nullptr);
}

GstStateChangeReturn CGstPipeline::SetState(GstState eState)
{
    return gst_element_set_state(m_pPlaybin, eState);
}

bool CGstPipeline::WaitForAsyncDone(int iTimeoutMs)
{
    const guint64 uDoneBefore = m_uAsyncDone;
    const guint64 uErrorsBefore = m_uErrors;
    GstBus* pBus = gst_element_get_bus(m_pPlaybin);
    gint64 iDeadline = g_get_monotonic_time() + static_cast<gint64>(iTimeoutMs) * 1000;
    while (m_uErrors == uErrorsBefore && (m_uAsyncDone == uDoneBefore || IsPrerolling())) {
        gint64 iLeft = iDeadline - g_get_monotonic_time();
        if (iLeft <= 0)
            break;
        GstMessage* pMessage = gst_bus_timed_pop(pBus, static_cast<GstClockTime>(iLeft) * GST_USECOND);
        if (pMessage == nullptr)
            break;
        Dispatch(pMessage);
        gst_message_unref(pMessage);
    }
    gst_object_unref(pBus);
    return m_uErrors == uErrorsBefore && m_uAsyncDone != uDoneBefore && !IsPrerolling();
}

bool CGstPipeline::IsPrerolling() const
{
    GstState eCurrent = GST_STATE_VOID_PENDING;
    GstState ePending = GST_STATE_VOID_PENDING;
    return gst_element_get_state(m_pPlaybin, &eCurrent, &ePending, 0) == GST_STATE_CHANGE_ASYNC &&
           ePending == GST_STATE_PAUSED;
}

void CGstPipeline::HandlePending()
{
    GstBus* pBus = gst_element_get_bus(m_pPlaybin);
    while (GstMessage* pMessage = gst_bus_pop(pBus)) {
        Dispatch(pMessage);
        gst_message_unref(pMessage);
    }
    gst_object_unref(pBus);
}

bool CGstPipeline::Seek(gint64 iMilliseconds)
{
    if (iMilliseconds < 0 || iMilliseconds > G_MAXINT64 / GST_MSECOND)
        return false;
    return gst_element_seek_simple(m_pPlaybin, GST_FORMAT_TIME,
                                   static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
                                   iMilliseconds * GST_MSECOND);
}

bool CGstPipeline::CanSeek() const
{
    if (m_bHttpWithoutRanges)
        return false;
    GstQuery* pQuery = gst_query_new_seeking(GST_FORMAT_TIME);
    gboolean bSeekable = TRUE;
    if (gst_element_query(m_pPlaybin, pQuery))
        gst_query_parse_seeking(pQuery, nullptr, &bSeekable, nullptr, nullptr);
    gst_query_unref(pQuery);
    return bSeekable;
}

bool CGstPipeline::QueryPosition(gint64& iMilliseconds) const
{
    return QueryPlaybackPosition(m_pPlaybin, iMilliseconds);
}

bool CGstPipeline::QueryDuration(gint64& iMilliseconds) const
{
    gint64 iNanoseconds = 0;
    if (!gst_element_query_duration(m_pPlaybin, GST_FORMAT_TIME, &iNanoseconds) || iNanoseconds < 0)
        return false;
    iMilliseconds = ToMilliseconds(iNanoseconds);
    return true;
}

void CGstPipeline::SetUserAgent(const std::string& strUserAgent)
{
    std::lock_guard<std::mutex> guard(m_sourceLock);
    m_strUserAgent = strUserAgent;
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
