#include "GstSinks.h"

#include <cstdlib>
#include <mutex>
#include <string>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

const char* const SILENT_SINK = "fakesink";

struct COutputChoice {
    const char* m_pszVariable;
    const char* m_pszAutomatic;
};

const COutputChoice& ChoiceFor(EOutput eOutput)
{
    static const COutputChoice audio{"CINECAST_GST_AUDIO_SINK", "autoaudiosink"};
    static const COutputChoice video{"CINECAST_GST_VIDEO_SINK", "autovideosink"};
    return eOutput == EOutput::Audio ? audio : video;
}

bool IsSilent(GstElement* pElement)
{
    GstElementFactory* pFactory = gst_element_get_factory(pElement);
    return pFactory != nullptr &&
           std::string(GST_OBJECT_NAME(pFactory)) == SILENT_SINK;
}

// An automatic sink that could open no real device falls back to a silent
// one inside itself; it has to be started to tell.
bool AutomaticSinkIsReal(const char* pszFactory)
{
    GstElement* pSink = gst_element_factory_make(pszFactory, nullptr);
    if (pSink == nullptr)
        return false;
    gst_object_ref_sink(pSink);
    bool bReal = false;
    if (gst_element_set_state(pSink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE && GST_IS_BIN(pSink)) {
        bReal = GST_BIN_NUMCHILDREN(GST_BIN(pSink)) > 0;
        for (GList* pChild = GST_BIN_CHILDREN(GST_BIN(pSink)); pChild != nullptr; pChild = pChild->next) {
            if (IsSilent(GST_ELEMENT(pChild->data)))
                bReal = false;
        }
    }
    gst_element_set_state(pSink, GST_STATE_NULL);
    gst_object_unref(pSink);
    return bReal;
}

bool HasDisplay()
{
    const char* pszX = std::getenv("DISPLAY");
    const char* pszWayland = std::getenv("WAYLAND_DISPLAY");
    return (pszX != nullptr && *pszX != '\0') || (pszWayland != nullptr && *pszWayland != '\0');
}

// The probe costs a device connection, so it is made once per process.
std::string ProbedFactory(EOutput eOutput)
{
    static std::once_flag s_audioOnce;
    static std::once_flag s_videoOnce;
    static std::string s_strAudio;
    static std::string s_strVideo;
    if (eOutput == EOutput::Audio) {
        std::call_once(s_audioOnce, [] {
            s_strAudio = AutomaticSinkIsReal("autoaudiosink") ? "autoaudiosink" : SILENT_SINK;
        });
        return s_strAudio;
    }
    std::call_once(s_videoOnce, [] {
        s_strVideo = HasDisplay() && AutomaticSinkIsReal("autovideosink") ? "autovideosink" : SILENT_SINK;
    });
    return s_strVideo;
}

std::string FactoryFor(EOutput eOutput)
{
    const char* pszNamed = std::getenv(ChoiceFor(eOutput).m_pszVariable);
    if (pszNamed != nullptr && *pszNamed != '\0')
        return pszNamed;
    return ProbedFactory(eOutput);
}

}  // namespace

GstElement* MakeSink(EOutput eOutput)
{
    std::string strFactory = FactoryFor(eOutput);
    GstElement* pSink = gst_element_factory_make(strFactory.c_str(), nullptr);
    if (pSink == nullptr) {
        g_printerr("cinecast: no sink element '%s', playing silently\n", strFactory.c_str());
        pSink = gst_element_factory_make(SILENT_SINK, nullptr);
    }
    // Silent sinks must still run at the media's pace.
    if (pSink != nullptr && g_object_class_find_property(G_OBJECT_GET_CLASS(pSink), "sync") != nullptr)
        g_object_set(pSink, "sync", TRUE, nullptr);
    return pSink;
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
