#include "ModelMedia.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

namespace {

struct CWait {
    std::string m_strUrl;
    std::function<void()> m_fn;
};

// What the host has told the model: the media and who waits for them.
struct CCatalogue {
    std::mutex m_lock;
    std::map<std::string, CMedia> m_mapMedia;
    std::map<unsigned long long, CWait> m_mapWaits;  // by id, so in the order they began
    unsigned long long m_ullNextWait = 1;
};

CCatalogue& Catalogue()
{
    // Never destroyed: adapters may still look media up during static destruction.
    static CCatalogue* s_pCatalogue = new CCatalogue();
    return *s_pCatalogue;
}

// The GStreamer player's texts, one row a failure.
const struct {
    EMediaError m_eError;
    const char* m_szText;
} ERROR_TEXTS[] = {
    {EMediaError::MISSING, "Resource not found."},
    {EMediaError::NOT_MEDIA, "Could not determine type of stream."},
    {EMediaError::UNSUPPORTED, "Your GStreamer installation is missing a plug-in."},
    {EMediaError::HTTP_404, "Not Found"},
    {EMediaError::REFUSED, "Internal data stream error."},
    {EMediaError::DROPPED, "Server does not support seeking."},
};

}  // namespace

void DescribeMedia(const std::string& strUrl, const CMedia& media)
{
    CCatalogue& catalogue = Catalogue();
    std::lock_guard<std::mutex> guard(catalogue.m_lock);
    catalogue.m_mapMedia[strUrl] = media;
}

std::map<std::string, CMedia> DescribedMedia()
{
    CCatalogue& catalogue = Catalogue();
    std::lock_guard<std::mutex> guard(catalogue.m_lock);
    return catalogue.m_mapMedia;
}

void ReplaceDescribedMedia(std::map<std::string, CMedia> mapMedia)
{
    CCatalogue& catalogue = Catalogue();
    std::lock_guard<std::mutex> guard(catalogue.m_lock);
    catalogue.m_mapMedia = std::move(mapMedia);
}

CMedia LookUpMedia(const std::string& strUrl)
{
    CCatalogue& catalogue = Catalogue();
    std::lock_guard<std::mutex> guard(catalogue.m_lock);
    auto it = catalogue.m_mapMedia.find(strUrl);
    if (it != catalogue.m_mapMedia.end())
        return it->second;
    CMedia missing;
    missing.m_eError = EMediaError::MISSING;
    return missing;
}

unsigned long long WaitForRelease(const std::string& strUrl, std::function<void()> fn)
{
    CCatalogue& catalogue = Catalogue();
    std::lock_guard<std::mutex> guard(catalogue.m_lock);
    unsigned long long ullId = catalogue.m_ullNextWait++;
    catalogue.m_mapWaits[ullId] = CWait{strUrl, std::move(fn)};
    return ullId;
}

void CancelWait(unsigned long long ullId)
{
    CCatalogue& catalogue = Catalogue();
    std::lock_guard<std::mutex> guard(catalogue.m_lock);
    catalogue.m_mapWaits.erase(ullId);
}

std::size_t ReleaseMedia(const std::string& strUrl)
{
    CCatalogue& catalogue = Catalogue();
    std::vector<std::function<void()>> aReleased;
    {
        std::lock_guard<std::mutex> guard(catalogue.m_lock);
        for (auto it = catalogue.m_mapWaits.begin(); it != catalogue.m_mapWaits.end();) {
            if (it->second.m_strUrl == strUrl) {
                aReleased.push_back(std::move(it->second.m_fn));
                it = catalogue.m_mapWaits.erase(it);
            } else {
                ++it;
            }
        }
    }
    // Outside the lock: a released player may look media up or wait again.
    for (const std::function<void()>& fn : aReleased)
        fn();
    return aReleased.size();
}

std::vector<std::string> HeldUrls()
{
    CCatalogue& catalogue = Catalogue();
    std::lock_guard<std::mutex> guard(catalogue.m_lock);
    std::vector<std::string> aUrls;
    for (const auto& wait : catalogue.m_mapWaits) {
        if (std::find(aUrls.begin(), aUrls.end(), wait.second.m_strUrl) == aUrls.end())
            aUrls.push_back(wait.second.m_strUrl);
    }
    return aUrls;
}

const char* ErrorText(EMediaError eError)
{
    for (const auto& row : ERROR_TEXTS) {
        if (row.m_eError == eError)
            return row.m_szText;
    }
    return "";
}

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI
