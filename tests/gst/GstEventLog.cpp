#include "GstEventLog.h"

#include <algorithm>

using namespace DeviceAPI::Cinecast;

namespace {

void Fill(CLoggedEvent&) {}
void Fill(CLoggedEvent& event, int iPercent) { event.m_llValue = iPercent; }
void Fill(CLoggedEvent& event, unsigned long long ullTime) { event.m_llValue = static_cast<long long>(ullTime); }
void Fill(CLoggedEvent& event, KiteBridgeEvent* pEvent) { event.m_event = *pEvent; }
void Fill(CLoggedEvent& event, const int* pBands, int iCount) { event.m_aBands.assign(pBands, pBands + iCount); }

// The handler of one code; the code's own arguments come before the user data.
template <int CODE, typename... Args>
bool On(Args... args, void* pUserData)
{
    CLoggedEvent event;
    event.m_iCode = CODE;
    event.m_thread = std::this_thread::get_id();
    Fill(event, args...);
    static_cast<CEventLog*>(pUserData)->Add(std::move(event));
    return true;
}

template <typename Handler>
void* Untyped(Handler handler)
{
    return reinterpret_cast<void*>(handler);
}

}  // namespace

void CEventLog::Attach(CinecasterAdapter& adapter)
{
    void* const apHandlers[KITE_BRIDGE_CALLBACK_COUNT] = {
        Untyped(&On<0, int>), Untyped(&On<1>), Untyped(&On<2>), Untyped(&On<3>), Untyped(&On<4, unsigned long long>),
        Untyped(&On<5, KiteBridgeEvent*>), Untyped(&On<6, KiteBridgeEvent*>), Untyped(&On<7, KiteBridgeEvent*>),
        Untyped(&On<8, const int*, int>)};
    for (int i = 0; i < KITE_BRIDGE_CALLBACK_COUNT; ++i)
        adapter.RegisterKiteBridgeCallback(static_cast<KiteBridgeCallBack>(i), apHandlers[i], this);
}

void CEventLog::Add(CLoggedEvent event)
{
    std::chrono::milliseconds delay;
    {
        std::lock_guard<std::mutex> guard(m_lock);
        ++m_iRunning;
        delay = m_delay;
    }
    std::this_thread::sleep_for(delay);
    std::lock_guard<std::mutex> guard(m_lock);
    m_aEvents.push_back(std::move(event));
    --m_iRunning;
    m_cvAdded.notify_all();
}

std::vector<CLoggedEvent> CEventLog::Events(int iCode) const
{
    std::lock_guard<std::mutex> guard(m_lock);
    std::vector<CLoggedEvent> aSelected;
    std::copy_if(m_aEvents.begin(), m_aEvents.end(), std::back_inserter(aSelected),
                 [iCode](const CLoggedEvent& event) { return iCode < 0 || event.m_iCode == iCode; });
    return aSelected;
}

bool CEventLog::WaitFor(int iCode, std::size_t uCount, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(m_lock);
    auto isCode = [iCode](const CLoggedEvent& event) { return event.m_iCode == iCode; };
    return m_cvAdded.wait_for(lock, timeout, [&] {
        return static_cast<std::size_t>(std::count_if(m_aEvents.begin(), m_aEvents.end(), isCode)) >= uCount;
    });
}

void CEventLog::SlowDown(std::chrono::milliseconds delay)
{
    std::lock_guard<std::mutex> guard(m_lock);
    m_delay = delay;
}

int CEventLog::Running() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_iRunning;
}
