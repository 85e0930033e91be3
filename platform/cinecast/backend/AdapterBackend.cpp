// The handler table shared by every backend, and the calls into it.
#include "Cinecast/AdapterBackend.h"

namespace DeviceAPI {
namespace Cinecast {

namespace {

bool isValidCode(KiteBridgeCallBack eCode)
{
    return eCode >= KITE_BRIDGE_BUFFERING && eCode < KITE_BRIDGE_CALLBACK_COUNT;
}

template <typename Handler>
Handler asHandler(void* pFunction)
{
    return reinterpret_cast<Handler>(pFunction);
}

}  // namespace

CAdapterBackend::CAdapterBackend() = default;

CAdapterBackend::~CAdapterBackend() = default;

bool CAdapterBackend::RegisterHandler(KiteBridgeCallBack eCode, void* pHandler, void* pUserData)
{
    if (!isValidCode(eCode))
        return false;
    std::lock_guard<std::mutex> guard(m_registrationLock);
    const unsigned uVersion = m_uVersion.load(std::memory_order_relaxed);
    m_uVersion.store(uVersion + 1, std::memory_order_relaxed);
    // Release stores: a reader that sees either new value also sees the odd
    // version.
    m_aHandlers[eCode].m_pFunction.store(pHandler, std::memory_order_release);
    m_aHandlers[eCode].m_pUserData.store(pUserData, std::memory_order_release);
    m_uVersion.store(uVersion + 2, std::memory_order_release);
    return true;
}

bool CAdapterBackend::HasHandler(KiteBridgeCallBack eCode) const
{
    return handlerFor(eCode).m_pFunction != nullptr;
}

CAdapterBackend::CHandler CAdapterBackend::handlerFor(KiteBridgeCallBack eCode) const
{
    if (!isValidCode(eCode))
        return CHandler();
    const CHandlerSlot& slot = m_aHandlers[eCode];
    for (;;) {
        const unsigned uBefore = m_uVersion.load(std::memory_order_acquire);
        // Acquire loads: the version is read again only after them.
        CHandler handler{slot.m_pFunction.load(std::memory_order_acquire),
                         slot.m_pUserData.load(std::memory_order_acquire)};
        if ((uBefore & 1U) == 0 && m_uVersion.load(std::memory_order_relaxed) == uBefore)
            return handler;
    }
}

// The handler is called outside the lock and nothing of this object is
// touched after it returns: a handler may register handlers, or even end the
// adapter.

bool CAdapterBackend::FireBuffering(int iPercent, bool bNullUserData)
{
    CHandler handler = handlerFor(KITE_BRIDGE_BUFFERING);
    if (!handler.m_pFunction)
        return false;
    return asHandler<BufferingHandler>(handler.m_pFunction)(
        iPercent, bNullUserData ? nullptr : handler.m_pUserData);
}

bool CAdapterBackend::FireCompletion(KiteBridgeCallBack eCode, bool bNullUserData)
{
    if (eCode != KITE_BRIDGE_PREPARE_COMPLETE && eCode != KITE_BRIDGE_PLAY_COMPLETE &&
        eCode != KITE_BRIDGE_SEEK_COMPLETE)
        return false;
    CHandler handler = handlerFor(eCode);
    if (!handler.m_pFunction)
        return false;
    return asHandler<CompletionHandler>(handler.m_pFunction)(
        bNullUserData ? nullptr : handler.m_pUserData);
}

bool CAdapterBackend::FireCurrentTime(unsigned long long ullTime, bool bNullUserData)
{
    CHandler handler = handlerFor(KITE_BRIDGE_CURRENT_TIME);
    if (!handler.m_pFunction)
        return false;
    return asHandler<CurrentTimeHandler>(handler.m_pFunction)(
        ullTime, bNullUserData ? nullptr : handler.m_pUserData);
}

bool CAdapterBackend::FireEvent(KiteBridgeCallBack eCode, KiteBridgeEvent* pEvent, bool bNullUserData)
{
    if (eCode != KITE_BRIDGE_ERROR_EVENT && eCode != KITE_BRIDGE_ASM_PAUSE &&
        eCode != KITE_BRIDGE_ASM_RESUME)
        return false;
    CHandler handler = handlerFor(eCode);
    if (!handler.m_pFunction)
        return false;
    return asHandler<EventHandler>(handler.m_pFunction)(
        pEvent, bNullUserData ? nullptr : handler.m_pUserData);
}

bool CAdapterBackend::FireSoundAnalysis(const int* pBands, int iCount, bool bNullUserData)
{
    CHandler handler = handlerFor(KITE_BRIDGE_SOUND_ANALYSIS);
    if (!handler.m_pFunction)
        return false;
    return asHandler<SoundAnalysisHandler>(handler.m_pFunction)(
        pBands, iCount, bNullUserData ? nullptr : handler.m_pUserData);
}

}  // namespace Cinecast
}  // namespace DeviceAPI
