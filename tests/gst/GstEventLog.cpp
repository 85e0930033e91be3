#include "GstEventLog.h"

using namespace DeviceAPI::Cinecast;

namespace {

bool Record(void* pUserData, CLoggedEvent event)
{
    static_cast<CEventLog*>(pUserData)->Add(std::move(event));
    return true;
}

CLoggedEvent Of(KiteBridgeCallBack eCode)
{
    CLoggedEvent event;
    event.m_eCode = eCode;
    event.m_thread = std::this_thread::get_id();
    return event;
}

bool OnBuffering(int iPercent, void* pUserData)
{
    CLoggedEvent event = Of(KITE_BRIDGE_BUFFERING);
    event.m_llValue = iPercent;
    return Record(pUserData, event);
}

bool OnPrepareComplete(void* pUserData) { return Record(pUserData, Of(KITE_BRIDGE_PREPARE_COMPLETE)); }
bool OnPlayComplete(void* pUserData) { return Record(pUserData, Of(KITE_BRIDGE_PLAY_COMPLETE)); }
bool OnSeekComplete(void* pUserData) { return Record(pUserData, Of(KITE_BRIDGE_SEEK_COMPLETE)); }

bool OnCurrentTime(unsigned long long ullTime, void* pUserData)
{
    CLoggedEvent event = Of(KITE_BRIDGE_CURRENT_TIME);
    event.m_llValue = static_cast<long long>(ullTime);
    return Record(pUserData, event);
}

template <KiteBridgeCallBack eCode>
bool OnEvent(KiteBridgeEvent* pEvent, void* pUserData)
{
    CLoggedEvent event = Of(eCode);
    event.m_event = *pEvent;
    return Record(pUserData, event);
}

bool OnSoundAnalysis(const int* pBands, int iCount, void* pUserData)
{
    CLoggedEvent event = Of(KITE_BRIDGE_SOUND_ANALYSIS);
    event.m_aBands.assign(pBands, pBands + iCount);
    return Record(pUserData, event);
}

}  // namespace

void CEventLog::Attach(CinecasterAdapter& adapter)
{
    void* const apHandlers[KITE_BRIDGE_CALLBACK_COUNT] = {
        reinterpret_cast<void*>(OnBuffering), reinterpret_cast<void*>(OnPrepareComplete),
        reinterpret_cast<void*>(OnPlayComplete), reinterpret_cast<void*>(OnSeekComplete),
        reinterpret_cast<void*>(OnCurrentTime), reinterpret_cast<void*>(OnEvent<KITE_BRIDGE_ERROR_EVENT>),
        reinterpret_cast<void*>(OnEvent<KITE_BRIDGE_ASM_PAUSE>), reinterpret_cast<void*>(OnEvent<KITE_BRIDGE_ASM_RESUME>),
        reinterpret_cast<void*>(OnSoundAnalysis)};
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

std::vector<CLoggedEvent> CEventLog::Events() const
{
    std::lock_guard<std::mutex> guard(m_lock);
    return m_aEvents;
}

std::vector<CLoggedEvent> CEventLog::Events(KiteBridgeCallBack eCode) const
{
    std::vector<CLoggedEvent> aSelected;
    for (const CLoggedEvent& event : Events()) {
        if (event.m_eCode == eCode)
            aSelected.push_back(event);
    }
    return aSelected;
}

std::size_t CEventLog::Count(KiteBridgeCallBack eCode) const
{
    return Events(eCode).size();
}

bool CEventLog::WaitFor(KiteBridgeCallBack eCode, std::size_t uCount, std::chrono::milliseconds timeout) const
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_cvAdded.wait_for(lock, timeout, [&] {
        std::size_t uSeen = 0;
        for (const CLoggedEvent& event : m_aEvents)
            uSeen += event.m_eCode == eCode ? 1 : 0;
        return uSeen >= uCount;
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
