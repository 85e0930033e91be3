// The media the host has described, shared by every model adapter.
#ifndef CINECAST_MODEL_MEDIA_H
#define CINECAST_MODEL_MEDIA_H

#include <string>

#include "Cinecast/ModelAdapter.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

// The description of the media at strUrl; a missing file when there is none.
CMedia LookUpMedia(const std::string& strUrl);

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
