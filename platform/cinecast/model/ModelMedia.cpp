#include "ModelMedia.h"

#include <map>
#include <mutex>

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

namespace {

std::mutex s_lock;

std::map<std::string, CMedia>& Catalogue()
{
    // Never destroyed: adapters may still look media up during static destruction.
    static std::map<std::string, CMedia>* s_pCatalogue = new std::map<std::string, CMedia>();
    return *s_pCatalogue;
}

}  // namespace

void DescribeMedia(const std::string& strUrl, const CMedia& media)
{
    std::lock_guard<std::mutex> guard(s_lock);
    Catalogue()[strUrl] = media;
}

CMedia LookUpMedia(const std::string& strUrl)
{
    std::lock_guard<std::mutex> guard(s_lock);
    auto it = Catalogue().find(strUrl);
    if (it != Catalogue().end())
        return it->second;
    CMedia missing;
    missing.m_eError = EMediaError::MISSING;
    return missing;
}

const char* ErrorText(EMediaError eError)
{
    switch (eError) {
    case EMediaError::MISSING:
        return "Resource not found.";
    case EMediaError::NOT_MEDIA:
        return "Could not determine type of stream.";
    case EMediaError::UNSUPPORTED:
        return "Your GStreamer installation is missing a plug-in.";
    case EMediaError::HTTP_404:
        return "Not Found";
    case EMediaError::REFUSED:
        return "Internal data stream error.";
    case EMediaError::NONE:
        break;
    }
    return "";
}

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI
