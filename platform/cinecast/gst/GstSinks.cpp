#include "GstSinks.h"

#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

namespace {

const char* const SILENT_SINK = "fakesink";

const char* VariableFor(EOutput eOutput)
{
    return eOutput == EOutput::Audio ? "CINECAST_GST_AUDIO_SINK" : "CINECAST_GST_VIDEO_SINK";
}

bool IsSilent(GstElement* pElement)
{
    GstElementFactory* pFactory = gst_element_get_factory(pElement);
    return pFactory != nullptr &&
           std::string(GST_OBJECT_NAME(pFactory)) == SILENT_SINK;
}

// Made and started to READY, where an audio sink opens its device, then let
// go. An automatic sink that opened no real device holds a silent one.
bool SinkOpens(const char* pszFactory)
{
    GstElement* pSink = gst_element_factory_make(pszFactory, nullptr);
    if (pSink == nullptr)
        return false;
    gst_object_ref_sink(pSink);
    bool bOpens = gst_element_set_state(pSink, GST_STATE_READY) != GST_STATE_CHANGE_FAILURE;
    if (bOpens && GST_IS_BIN(pSink)) {
        bOpens = GST_BIN_NUMCHILDREN(GST_BIN(pSink)) > 0;
        for (GList* pChild = GST_BIN_CHILDREN(GST_BIN(pSink)); pChild != nullptr; pChild = pChild->next) {
            if (IsSilent(GST_ELEMENT(pChild->data)))
                bOpens = false;
        }
    }
    gst_element_set_state(pSink, GST_STATE_NULL);
    gst_object_unref(pSink);
    return bOpens;
}

bool IsSet(const char* pszVariable)
{
    const char* pszValue = std::getenv(pszVariable);
    return pszValue != nullptr && *pszValue != '\0';
}

// Where no server listens, libpulse may try to start one; so it is asked
// only when a server is named or its socket is there (PulseAudio's or
// PipeWire's, which answers for it).
bool SoundServerMayAnswer()
{
    if (IsSet("PULSE_SERVER"))
        return true;
    std::string strRuntime = IsSet("XDG_RUNTIME_DIR") ? std::getenv("XDG_RUNTIME_DIR")
                                                      : "/run/user/" + std::to_string(getuid());
    return access((strRuntime + "/pulse/native").c_str(), F_OK) == 0 || access("/run/pulse/native", F_OK) == 0;
}

// ALSA prints its errors itself, so alsasink is tried only where a card is
// listed (" 0 [PCH            ]: HDA-Intel - ..."; "--- no soundcards ---"
// where the driver has none).
bool SoundCardListed()
{
    std::ifstream cards("/proc/asound/cards");
    for (std::string strLine; std::getline(cards, strLine);) {
        std::size_t uStart = strLine.find_first_not_of(' ');
        if (uStart != std::string::npos && std::isdigit(static_cast<unsigned char>(strLine[uStart])))
            return true;
    }
    return false;
}

bool HasDisplay()
{
    return IsSet("DISPLAY") || IsSet("WAYLAND_DISPLAY");
}

// autoaudiosink is not used: it tries every sink installed, and some (OpenAL,
// JACK) print their own errors on a machine without sound. The audio sinks
// are tried in this order, each only where it can answer without printing.
std::string ProbedAudioFactory()
{
    if (SoundServerMayAnswer() && SinkOpens("pulsesink"))
        return "pulsesink";
    if (SoundCardListed() && SinkOpens("alsasink"))
        return "alsasink";
    return SILENT_SINK;
}

std::string ProbedVideoFactory()
{
    return HasDisplay() && SinkOpens("autovideosink") ? "autovideosink" : SILENT_SINK;
}

// The probe costs a device connection, so it is made once per process.
std::string ProbedFactory(EOutput eOutput)
{
    struct CProbe {
        std::once_flag m_once;
        std::string m_strFactory;
    };
    static CProbe s_audio;
    static CProbe s_video;
    CProbe& probe = eOutput == EOutput::Audio ? s_audio : s_video;
    std::call_once(probe.m_once, [&probe, eOutput] {
        probe.m_strFactory = eOutput == EOutput::Audio ? ProbedAudioFactory() : ProbedVideoFactory();
    });
    return probe.m_strFactory;
}

std::string FactoryFor(EOutput eOutput)
{
    const char* pszVariable = VariableFor(eOutput);
    if (IsSet(pszVariable))
        return std::getenv(pszVariable);
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
