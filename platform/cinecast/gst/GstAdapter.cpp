#include "Cinecast/GstAdapter.h"

#include <gst/gst.h>

#include <mutex>

#include "GstBackend.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

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

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
