#include "GstSoundAnalysis.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

const char* const ANALYSER_NAME = "cinecast-spectrum";
// Levels below this many decibels count as silence.
const int FLOOR_DB = -60;
// One set of bands per this many nanoseconds of media.
const guint64 INTERVAL_NS = 100 * GST_MSECOND;
// Sets kept ahead of playback at most: more media than a pipeline holds.
const std::size_t MAX_WAITING = 100;

}  // namespace

bool CanAnalyse()
{
    for (const char* pszFactory : {"audioconvert", "spectrum"}) {
        GstElementFactory* pFactory = gst_element_factory_find(pszFactory);
        if (pFactory == nullptr)
            return false;
        gst_object_unref(pFactory);
    }
    return true;
}

GstElement* MakeAnalysisFilter()
{
    GstElement* pConvert = gst_element_factory_make("audioconvert", nullptr);
    GstElement* pSpectrum = gst_element_factory_make("spectrum", ANALYSER_NAME);
    if (pConvert == nullptr || pSpectrum == nullptr) {
        if (pConvert != nullptr)
            gst_object_unref(gst_object_ref_sink(pConvert));
        if (pSpectrum != nullptr)
            gst_object_unref(gst_object_ref_sink(pSpectrum));
        return nullptr;
    }
    g_object_set(pSpectrum, "bands", static_cast<guint>(ANALYSIS_BANDS), "threshold", FLOOR_DB,
                 "interval", INTERVAL_NS, "post-messages", TRUE, "message-magnitude", TRUE,
                 "message-phase", FALSE, nullptr);

    GstElement* pBin = gst_bin_new("cinecast-analysis");
    gst_bin_add_many(GST_BIN(pBin), pConvert, pSpectrum, nullptr);
    gst_element_link(pConvert, pSpectrum);
    GstPad* pSink = gst_element_get_static_pad(pConvert, "sink");
    GstPad* pSource = gst_element_get_static_pad(pSpectrum, "src");
    gst_element_add_pad(pBin, gst_ghost_pad_new("sink", pSink));
    gst_element_add_pad(pBin, gst_ghost_pad_new("src", pSource));
    gst_object_unref(pSink);
    gst_object_unref(pSource);
    return pBin;
}

bool ReadBands(GstMessage* pMessage, CBandSet& bandSet)
{
    if (GST_MESSAGE_TYPE(pMessage) != GST_MESSAGE_ELEMENT || GST_MESSAGE_SRC(pMessage) == nullptr ||
        std::strcmp(GST_OBJECT_NAME(GST_MESSAGE_SRC(pMessage)), ANALYSER_NAME) != 0)
        return false;
    const GstStructure* pData = gst_message_get_structure(pMessage);
    if (pData == nullptr || !gst_structure_has_name(pData, "spectrum"))
        return false;
    const GValue* pMagnitudes = gst_structure_get_value(pData, "magnitude");
    if (pMagnitudes == nullptr || !GST_VALUE_HOLDS_LIST(pMagnitudes))
        return false;
    guint64 uStreamTime = GST_CLOCK_TIME_NONE;
    gst_structure_get_clock_time(pData, "stream-time", &uStreamTime);
    bandSet.m_iStreamTimeMs = GST_CLOCK_TIME_IS_VALID(uStreamTime) ? static_cast<gint64>(uStreamTime / GST_MSECOND) : -1;
    guint uCount = gst_value_list_get_size(pMagnitudes);
    std::vector<int>& aBands = bandSet.m_aBands;
    aBands.assign(uCount, 0);
    for (guint i = 0; i < uCount; ++i) {
        double dDecibels = g_value_get_float(gst_value_list_get_value(pMagnitudes, i));
        double dLevel = (dDecibels - FLOOR_DB) * 100.0 / -FLOOR_DB;
        aBands[i] = static_cast<int>(std::lround(std::clamp(dLevel, 0.0, 100.0)));
    }
    return true;
}

void CBandTimeline::Add(CBandSet bandSet)
{
    m_aWaiting.push_back(std::move(bandSet));
    if (m_aWaiting.size() > MAX_WAITING)
        m_aWaiting.pop_front();
}

const std::vector<int>& CBandTimeline::At(gint64 iPositionMs)
{
    while (!m_aWaiting.empty() && m_aWaiting.front().m_iStreamTimeMs <= iPositionMs) {
        m_aCurrent = std::move(m_aWaiting.front().m_aBands);
        m_aWaiting.pop_front();
    }
    return m_aCurrent;
}

void CBandTimeline::Clear()
{
    m_aWaiting.clear();
    m_aCurrent.clear();
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
