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
    std::lock_guard<std::mutex> guard(m_handlerLock);
    m_aHandlers[eCode].m_pFunction = pHandler;
    m_aHandlers[eCode].m_pUserData = pUserData;
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
    std::lock_guard<std::mutex> guard(m_handlerLock);
    return m_aHandlers[eCode];
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
