// Player events, called on the adapter's threads. Each handler turns its
// event into one text and queues it for the matching stored callback; it
// never touches a script value or the stored callback itself, only the
// slot's address and the agent's serial, both fixed since construction.
#include "PlayerAgent.h"

#include <string>

#include "CallbackRecord.h"
#include "NumberConversion.h"
#include "TetherLog.h"

namespace Tether {

namespace {
// "EventType:" + the type as one character (its low 8 bits, as the TV's
// scripts already parse it) + "," + param1 + "," + param2 + ";".
std::string AsmEventText(const DeviceAPI::Cinecast::KiteBridgeEvent& event)
{
    std::string strRes = "EventType:";
    strRes.push_back(static_cast<char>(static_cast<unsigned char>(event.type & 0xFF)));
    strRes += ",";
    strRes += event.param1;
    strRes += ",";
    strRes += event.param2;
    strRes += ";";
    return strRes;
}

// The bands joined by "|"; no bands give the empty text.
std::string BandsText(const int* pBands, int iCount)
{
    std::string strRes;
    for (int i = 0; i < iCount; ++i) {
        if (i > 0)
            strRes += "|";
        strRes += std::to_string(pBands[i]);
    }
    return strRes;
}
}  // namespace

bool CPlayerAgent::Buffering_CB(int percent, void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    std::string strRes = std::to_string(percent);
    LOG_W("Get the buffering percent is %d, %s.", percent, strRes.c_str());
    QueueCallback(&pAgent->onbuffering_callback, pAgent->m_ullSerial, strRes);
    LOG_W("End clutter_threads_add_idle_full.");
    return true;
}

bool CPlayerAgent::Prepare_Complete_CB(void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Ready to call Prepare Complete callback.");
    QueueCallback(&pAgent->onprepare_complete_callback, pAgent->m_ullSerial, std::string());
    LOG_W("End clutter_threads_add_idle_full.");
    return true;
}

bool CPlayerAgent::Play_Complete_CB(void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Ready to call Play Complete callback.");
    QueueCallback(&pAgent->onplay_complete_callback, pAgent->m_ullSerial, std::string());
    LOG_W("End clutter_threads_add_idle_full.");
    return true;
}

bool CPlayerAgent::Seek_Complete_CB(void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Ready to call Seek Complete callback.");
    QueueCallback(&pAgent->onseek_complete_callback, pAgent->m_ullSerial, std::string());
    LOG_W("End clutter_threads_add_idle_full.");
    LOG_LEAVE();
    return true;
}

bool CPlayerAgent::Current_Time_CB(unsigned long long time, void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    // Scripts get the low 32 bits, as for the position query.
    int iTime = LowInt32(time);
    std::string strRes = std::to_string(iTime);
    LOG_W("Ready to call js callback, strRes:%s, %d", strRes.c_str(), iTime);
    QueueCallback(&pAgent->oncurrent_time_callback, pAgent->m_ullSerial, strRes);
    LOG_W("Complete call js callback");
    LOG_LEAVE();
    return true;
}

bool CPlayerAgent::Error_Event_CB(DeviceAPI::Cinecast::KiteBridgeEvent* event, void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr || event == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Got the Error event is type: %d, param1: %s, param2: %s", event->type,
          event->param1.c_str(), event->param2.c_str());
    // Only param1 reaches the script.
    std::string strRes = event->param1;
    LOG_W("Ready to call onerror_event_callback, strRes:%s", strRes.c_str());
    QueueCallback(&pAgent->onerror_event_callback, pAgent->m_ullSerial, strRes);
    LOG_W("Complete call js callback");
    LOG_LEAVE();
    return true;
}

bool CPlayerAgent::ASM_Pause_CB(DeviceAPI::Cinecast::KiteBridgeEvent* event, void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr || event == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Got the event is type: %d, param1: %s, param2: %s", event->type, event->param1.c_str(),
          event->param2.c_str());
    std::string strRes = AsmEventText(*event);
    LOG_W("Ready to call onasm_pause_callback, strRes:%s", strRes.c_str());
    QueueCallback(&pAgent->onasm_pause_callback, pAgent->m_ullSerial, strRes);
    LOG_W("Complete call js callback");
    LOG_LEAVE();
    return true;
}

bool CPlayerAgent::ASM_Resume_CB(DeviceAPI::Cinecast::KiteBridgeEvent* event, void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr || event == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    LOG_W("Got the event is type: %d, param1: %s, param2: %s", event->type, event->param1.c_str(),
          event->param2.c_str());
    std::string strRes = AsmEventText(*event);
    QueueCallback(&pAgent->onasm_resume_callback, pAgent->m_ullSerial, strRes);
    LOG_W("Complete call js callback");
    LOG_LEAVE();
    return true;
}

bool CPlayerAgent::SoundAnalysisCB(const int* bands, int count, void* pThis)
{
    LOG_ENTER();
    if (pThis == nullptr || bands == nullptr) {
        LOG_W("pThis == NULL, Invalid param.");
        return false;
    }
    CPlayerAgent* pAgent = static_cast<CPlayerAgent*>(pThis);
    std::string strRes = BandsText(bands, count);
    LOG_W("band array size = [%d]\n", count);
    LOG_W("Ready to call onsound_analysis_callback, strRes:%s", strRes.c_str());
    QueueCallback(&pAgent->onsound_analysis_callback, pAgent->m_ullSerial, strRes);
    LOG_W("Complete call js callback");
    LOG_LEAVE();
    return true;
}

}  // namespace Tether
