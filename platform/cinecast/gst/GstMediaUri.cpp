#include "GstMediaUri.h"

#include <gst/gst.h>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

bool ToMediaUri(const std::string& strMedia, std::string& strUri)
{
    if (strMedia.empty() || strMedia.find('\0') != std::string::npos)
        return false;
    if (gst_uri_is_valid(strMedia.c_str())) {
        strUri = strMedia;
        return true;
    }
    gchar* pszUri = gst_filename_to_uri(strMedia.c_str(), nullptr);
    if (pszUri == nullptr)
        return false;
    strUri = pszUri;
    g_free(pszUri);
    return true;
}

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI
