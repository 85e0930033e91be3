// Handlers for all nine event codes that keep what a GStreamer adapter
// reports, with the thread each event came from, and waits for events.
#ifndef CINECAST_TESTS_GST_EVENT_LOG_H
#define CINECAST_TESTS_GST_EVENT_LOG_H

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Cinecast/CinecasterAdapter.h"

struct CLoggedEvent {
    int m_iCode;
    std::thread::id m_thread;
    long long m_llValue = 0;  // percent or time
    DeviceAPI::Cinecast::KiteBridgeEvent m_event{0, "", ""};
    std::vector<int> m_aBands;
};

class CEventLog {
public:
    // Registers a handler for every code on the adapter, with this log as
    // user data.
    void Attach(DeviceAPI::Cinecast::CinecasterAdapter& adapter);

    // The events of one code, or all of them for -1.
    std::vector<CLoggedEvent> Events(int iCode = -1) const;
    std::size_t Count(int iCode) const { return Events(iCode).size(); }
    // True once uCount events of the code have come, false after the timeout.
    bool WaitFor(int iCode, std::size_t uCount,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) const;

    // Each handler sleeps this long before it returns.
    void SlowDown(std::chrono::milliseconds delay);
    // Handlers running at this moment.
    int Running() const;

    void Add(CLoggedEvent event);

private:
    mutable std::mutex m_lock;
    mutable std::condition_variable m_cvAdded;
    std::vector<CLoggedEvent> m_aEvents;
    std::chrono::milliseconds m_delay{0};
    int m_iRunning = 0;
};

#endif
