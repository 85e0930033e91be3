// The media a script names: a URI as it is, or a file path, relative to the
// working directory or absolute, turned into a file URI.
#ifndef CINECAST_GST_MEDIA_URI_H
#define CINECAST_GST_MEDIA_URI_H

#include <string>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

// False for the empty text and for anything that is neither.
bool ToMediaUri(const std::string& strMedia, std::string& strUri);

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
