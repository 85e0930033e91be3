// The media the host has described, shared by every model adapter, and the
// prepares that wait for a held medium's release.
#ifndef CINECAST_MODEL_MEDIA_H
#define CINECAST_MODEL_MEDIA_H

#include <functional>
#include <string>

#include "Cinecast/ModelAdapter.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

// The description of the media at strUrl; a missing file when there is none.
CMedia LookUpMedia(const std::string& strUrl);

// fn runs once ReleaseMedia(strUrl) is called, unless the wait is cancelled
// first. Answers an id other than 0.
unsigned long long WaitForRelease(const std::string& strUrl, std::function<void()> fn);
// Ids already released or cancelled are ignored.
void CancelWait(unsigned long long ullId);

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
