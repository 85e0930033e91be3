// The agents that are alive, by serial. A queued record names its agent's
// serial; the destructor removes it, so a record delivered later is freed
// without reading the freed slots. Serials are never reused, unlike
// addresses. Preferred over withdrawing queued sources (the queue would have
// to be locked against the player threads) and over shared ownership of the
// slots (script functions would outlive their object). Touched only on the
// main-loop thread (construction, destruction, delivery): no lock.
#ifndef TETHER_LIVE_AGENTS_H
#define TETHER_LIVE_AGENTS_H

namespace Tether {

class LiveAgents {
public:
    // A serial never handed out before.
    static unsigned long long Add();
    static void Remove(unsigned long long ullSerial);
    static bool IsLive(unsigned long long ullSerial);
};

}  // namespace Tether

#endif
