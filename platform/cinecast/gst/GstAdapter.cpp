#include "Cinecast/GstAdapter.h"

#include <gst/gst.h>

#include <mutex>

#include "GstBackend.h"
#include "GstSoundAnalysis.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

static_assert(SOUND_ANALYSIS_BANDS == ANALYSIS_BANDS, "the events carry what the analyser measures");

namespace {

// GStreamer is set up once, by the first adapter, and stays for the process.
bool Initialise()
{
    static std::once_flag s_once;
    static bool s_bReady = false;
    std::call_once(s_once, [] {
        GError* pError = nullptr;
        s_bReady = gst_init_check(nullptr, nullptr, &pError);
        if (!s_bReady)
            g_printerr("cinecast: GStreamer cannot start: %s\n", pError != nullptr ? pError->message : "?");
        g_clear_error(&pError);
    });
    return s_bReady;
}

}  // namespace

CAdapterBackend* CreateBackend()
{
    if (!Initialise())
        return nullptr;
    return new CGstBackend();
}

std::string LibraryVersion()
{
    guint uMajor = 0, uMinor = 0, uMicro = 0, uNano = 0;
    gst_version(&uMajor, &uMinor, &uMicro, &uNano);
    return std::to_string(uMajor) + "." + std::to_string(uMinor) + "." + std::to_string(uMicro);
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
