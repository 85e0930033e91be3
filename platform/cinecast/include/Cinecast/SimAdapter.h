// The simulated player: a deterministic stand-in that plays nothing, records
// every call, answers as it is told and fires events when asked to.
//
// A host numbers the adapters it makes in a CPlayers, from 0 in construction
// order: each run its own. Each adapter's record (calls, answers, reports)
// stays after the adapter is destroyed. Functions taking an index throw
// std::out_of_range for an adapter never constructed.
#ifndef CINECAST_SIM_ADAPTER_H
#define CINECAST_SIM_ADAPTER_H

#include <cstddef>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Cinecast/AdapterBackend.h"

namespace DeviceAPI {
namespace Cinecast {

class CPlayerRegistry;

namespace Sim {

// Whether CPlayers::answer takes the operation's name.
bool isAnswerableOperation(const std::string& strName);

// What GetDuration, GetCurrentPosition and GetPlayerState write when they
// answer true. Unset fields keep their value; all start at 0. The state may
// lie outside player_state_e's values.
struct CReport {
    std::optional<unsigned long> m_ulDuration;
    std::optional<unsigned long long> m_ullPosition;
    std::optional<int> m_iState;
};

// The data of one event; each code reads only its own fields.
struct CEventData {
    int m_iPercent = 0;                  // KITE_BRIDGE_BUFFERING
    unsigned long long m_ullTime = 0;    // KITE_BRIDGE_CURRENT_TIME
    bool m_bClockTime = false;           //   ... or the steady clock's nanoseconds when fired
    KiteBridgeEvent m_stEvent{0, "", ""};  // error, ASM pause and resume
    bool m_bNullEvent = false;           //   ... or a null event pointer
    std::vector<int> m_aBands;           // KITE_BRIDGE_SOUND_ANALYSIS
    bool m_bNullBands = false;           //   ... or null bands
    bool m_bNullUserData = false;        // any code: null instead of the registered user data
};
inline CEventData Percent(int iPercent) { CEventData d; d.m_iPercent = iPercent; return d; }
inline CEventData Time(unsigned long long ullTime) { CEventData d; d.m_ullTime = ullTime; return d; }
// Each event carries the moment it is fired, on std::chrono::steady_clock, for
// latency measurements.
inline CEventData ClockTime() { CEventData d; d.m_bClockTime = true; return d; }
inline CEventData Event(int iType, const std::string& strParam1, const std::string& strParam2) {
    CEventData d; d.m_stEvent = KiteBridgeEvent{iType, strParam1, strParam2}; return d;
}
inline CEventData NullEvent() { CEventData d; d.m_bNullEvent = true; return d; }
inline CEventData Bands(std::initializer_list<int> aBands) { CEventData d; d.m_aBands = aBands; return d; }
inline CEventData NullBands() { CEventData d; d.m_bNullBands = true; return d; }
inline CEventData WithNullUserData(CEventData d) { d.m_bNullUserData = true; return d; }

// The simulated and model adapters a host made, in one numbering, so that
// calls and emit reach either. Copies share the numbering, and so does every
// adapter made by Factory(), which may outlive them.
class CPlayers {
public:
    CPlayers();

    // Makes simulated adapters numbered here.
    BackendFactory Factory() const;
    // Where a model adapter's factory numbers it (Cinecast/ModelAdapter.h).
    const std::shared_ptr<CPlayerRegistry>& Registry() const { return m_pRegistry; }

    // Adapters constructed so far, and those not yet destroyed.
    std::size_t count() const;
    std::size_t alive() const;
    bool isAlive(std::size_t i) const;

    // Every operation called on adapter i, in call order, as "name(arg,...)".
    std::vector<std::string> calls(std::size_t i) const;

    // From now on operation strName of adapter i returns bValue (default
    // true). strName is spelled as in CinecasterAdapter; any other name, and
    // RegisterKiteBridgeCallback (answered by the handler table), throw
    // std::invalid_argument.
    void answer(std::size_t i, const std::string& strName, bool bValue) const;
    void report(std::size_t i, const CReport& stReport) const;

    // Adapter i calls the handler registered under eCode on its event thread
    // and this returns the handler's result once it has returned; false when
    // no handler is registered there or the adapter is gone. A code outside 0
    // to 8 throws std::invalid_argument.
    bool emit(std::size_t i, KiteBridgeCallBack eCode, const CEventData& data = CEventData()) const;

    // Queues uCount such events on adapter i's event thread and returns at
    // once; false when the adapter is gone. They follow each other at once,
    // or, with an interval, one every uIntervalMicros from when the burst
    // starts. drain waits until every queued event of adapter i has been
    // handled (at once when the adapter is gone).
    bool emitBurst(std::size_t i, KiteBridgeCallBack eCode, std::size_t uCount,
                   const CEventData& data = CEventData(), unsigned uIntervalMicros = 0) const;
    void drain(std::size_t i) const;

private:
    std::shared_ptr<CPlayerRegistry> m_pRegistry;
};

// The next non-throwing allocation of an adapter yields null.
void failNextAllocation();

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
