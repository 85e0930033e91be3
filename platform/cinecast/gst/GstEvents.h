// What the player reports, passed to the adapter's handlers while the bridge
// is switched on. Called on the worker thread only.
#ifndef CINECAST_GST_EVENTS_H
#define CINECAST_GST_EVENTS_H

#include <atomic>
#include <string>
#include <vector>

#include "Cinecast/AdapterBackend.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

class CGstEvents {
public:
    explicit CGstEvents(CAdapterBackend& backend);

    void Enable(bool bEnable) { m_bEnabled.store(bEnable); }

    void Buffering(int iPercent);
    // Prepare, play or seek complete.
    void Completion(KiteBridgeCallBack eCode);
    void CurrentTime(unsigned long long ullMilliseconds);
    void Error(int iCode, const std::string& strMessage, const std::string& strDebug);
    void AsmPause(int iType, const std::string& strSource, const std::string& strDetail);
    void AsmResume(int iType, const std::string& strSource, const std::string& strDetail);
    void SoundAnalysis(const std::vector<int>& aBands);

private:
    CAdapterBackend& m_backend;
    std::atomic<bool> m_bEnabled{false};
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
