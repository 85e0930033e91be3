// Handlers for all nine event codes that keep what a GStreamer adapter
// reports, with the thread each event came from, and waits for events.
#ifndef CINECAST_TESTS_GST_EVENT_LOG_H
#define CINECAST_TESTS_GST_EVENT_LOG_H

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "Cinecast/CinecasterAdapter.h"

struct CLoggedEvent {
    int m_iCode = -1;
    std::thread::id m_thread = std::this_thread::get_id();
    long long m_llValue = 0;  // percent or time
    DeviceAPI::Cinecast::KiteBridgeEvent m_event{0, "", ""};
    std::vector<int> m_aBands;

    void Fill() {}
    void Fill(int iPercent) { m_llValue = iPercent; }
    void Fill(unsigned long long ullTime) { m_llValue = static_cast<long long>(ullTime); }
    void Fill(DeviceAPI::Cinecast::KiteBridgeEvent* pEvent) { m_event = *pEvent; }
    void Fill(const int* pBands, int iCount) { m_aBands.assign(pBands, pBands + iCount); }
};

class CEventLog {
public:
    // Registers a handler for every code on the adapter, with this log as
    // user data.
    void Attach(DeviceAPI::Cinecast::CinecasterAdapter& adapter)
    {
        using DeviceAPI::Cinecast::KiteBridgeEvent;
        void* const apHandlers[] = {Untyped(&On<0, int>), Untyped(&On<1>), Untyped(&On<2>), Untyped(&On<3>),
                                    Untyped(&On<4, unsigned long long>), Untyped(&On<5, KiteBridgeEvent*>),
                                    Untyped(&On<6, KiteBridgeEvent*>), Untyped(&On<7, KiteBridgeEvent*>),
                                    Untyped(&On<8, const int*, int>)};
        for (int i = 0; i < DeviceAPI::Cinecast::KITE_BRIDGE_CALLBACK_COUNT; ++i)
            adapter.RegisterKiteBridgeCallback(static_cast<DeviceAPI::Cinecast::KiteBridgeCallBack>(i), apHandlers[i],
                                               this);
    }

    // The events of one code, or all of them for -1.
    std::vector<CLoggedEvent> Events(int iCode = -1) const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        std::vector<CLoggedEvent> aSelected;
        std::copy_if(m_aEvents.begin(), m_aEvents.end(), std::back_inserter(aSelected),
                     [iCode](const CLoggedEvent& event) { return iCode < 0 || event.m_iCode == iCode; });
        return aSelected;
    }
    std::size_t Count(int iCode) const { return Events(iCode).size(); }

    // True once uCount events of the code have come, false after the timeout.
    bool WaitFor(int iCode, std::size_t uCount,
                 std::chrono::milliseconds timeout = std::chrono::milliseconds(3000)) const
    {
        auto isCode = [iCode](const CLoggedEvent& event) { return event.m_iCode == iCode; };
        std::unique_lock<std::mutex> lock(m_lock);
        return m_cvAdded.wait_for(lock, timeout, [&] {
            return static_cast<std::size_t>(std::count_if(m_aEvents.begin(), m_aEvents.end(), isCode)) >= uCount;
        });
    }

    // From now on each handler sleeps this long before it returns.
    void SlowDown(std::chrono::milliseconds delay)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_delay = delay;
    }
    // Handlers running at this moment.
    int Running() const
    {
        std::lock_guard<std::mutex> guard(m_lock);
        return m_iRunning;
    }

private:
    // The handler of one code; the code's own arguments come before the
    // user data.
    template <int CODE, typename... Args>
    static bool On(Args... args, void* pUserData)
    {
        CLoggedEvent event;
        event.m_iCode = CODE;
        event.Fill(args...);
        static_cast<CEventLog*>(pUserData)->Add(std::move(event));
        return true;
    }
    template <typename Handler>
    static void* Untyped(Handler handler)
    {
        return reinterpret_cast<void*>(handler);
    }

    void Add(CLoggedEvent event)
    {
        std::unique_lock<std::mutex> lock(m_lock);
        ++m_iRunning;
        std::chrono::milliseconds delay = m_delay;
        lock.unlock();
        std::this_thread::sleep_for(delay);
        lock.lock();
        m_aEvents.push_back(std::move(event));
        --m_iRunning;
        m_cvAdded.notify_all();
    }

    mutable std::mutex m_lock;
    mutable std::condition_variable m_cvAdded;
    std::vector<CLoggedEvent> m_aEvents;
    std::chrono::milliseconds m_delay{0};
    int m_iRunning = 0;
};

#endif
