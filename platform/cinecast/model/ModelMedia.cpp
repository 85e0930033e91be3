// The media the host describes to the model's players, and the prepares
// that wait for a held medium's release.
#include "Cinecast/ModelAdapter.h"

#include <algorithm>
#include <map>
#include <mutex>
#include <utility>
#include <vector>

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

namespace {

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

void CMediaCatalogue::Describe(const std::string& strUrl, const CMedia& media)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_mapMedia[strUrl] = media;
}

std::map<std::string, CMedia> CMediaCatalogue::Described() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_mapMedia;
}

void CMediaCatalogue::Replace(std::map<std::string, CMedia> mapMedia)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_mapMedia = std::move(mapMedia);
}

CMedia CMediaCatalogue::LookUp(const std::string& strUrl) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    auto it = m_mapMedia.find(strUrl);
    if (it != m_mapMedia.end())
        return it->second;
    CMedia missing;
    missing.m_eError = EMediaError::MISSING;
    return missing;
}

unsigned long long CMediaCatalogue::WaitForRelease(const std::string& strUrl, std::function<void()> fn)
{
    std::lock_guard<std::mutex> guard(m_lock);
    unsigned long long ullId = m_ullNextWait++;
    m_mapWaits[ullId] = CWait{strUrl, std::move(fn)};
    return ullId;
}

void CMediaCatalogue::CancelWait(unsigned long long ullId)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_mapWaits.erase(ullId);
}

std::size_t CMediaCatalogue::Release(const std::string& strUrl)
{
    std::vector<std::function<void()>> aReleased;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        for (auto it = m_mapWaits.begin(); it != m_mapWaits.end();) {
            if (it->second.m_strUrl == strUrl) {
                aReleased.push_back(std::move(it->second.m_fn));
                it = m_mapWaits.erase(it);
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

std::vector<std::string> CMediaCatalogue::HeldUrls() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<std::string> aUrls;
    for (const auto& wait : m_mapWaits) {
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
