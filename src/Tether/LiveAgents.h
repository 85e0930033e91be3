// The agents that are alive, by serial. Touched only on the main-loop
// thread (construction, destruction, delivery), so it needs no lock.
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
