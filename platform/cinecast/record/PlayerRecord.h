// What is kept of one simulated or model adapter: its calls, the answers and
// values it was told to give, and the live backend while there is one.
#ifndef CINECAST_PLAYER_RECORD_H
#define CINECAST_PLAYER_RECORD_H

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Cinecast/AdapterBackend.h"
#include "EventQueue.h"

namespace DeviceAPI {
namespace Cinecast {

class CPlayerRecord {
public:
    // The live side of the adapter: its handler table and its event thread.
    struct CLive {
        CAdapterBackend* m_pBackend = nullptr;
        std::shared_ptr<CEventQueue> m_pEvents;
    };

    // Appends strCall and returns the answer set for strOperation.
    bool Record(const std::string& strOperation, const std::string& strCall);
    std::vector<std::string> Calls() const;
    void SetAnswer(const std::string& strOperation, bool bValue);

    // Unset values keep theirs.
    void SetReport(std::optional<unsigned long> ulDuration, std::optional<unsigned long long> ullPosition,
                   std::optional<int> iState);
    unsigned long Duration() const;
    unsigned long long Position() const;
    int State() const;

    void Attach(const CLive& live);
    void Detach();
    bool IsAlive() const;
    // The live side, or one with a null backend once the adapter is gone.
    CLive Live() const;

private:
    mutable std::mutex m_lock;
    std::vector<std::string> m_aCalls;
    std::map<std::string, bool> m_mapAnswers;
    unsigned long m_ulDuration = 0;
    unsigned long long m_ullPosition = 0;
    int m_iState = 0;
    CLive m_live;
};

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
