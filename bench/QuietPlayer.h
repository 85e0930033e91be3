// A player that accepts every command at once and keeps no record of it, so
// that command figures measure the plug-in and the bridge library rather than
// the simulated player's call log, which grows with every call.
#ifndef TETHER_BENCH_QUIET_PLAYER_H
#define TETHER_BENCH_QUIET_PLAYER_H

#include <Cinecast/AdapterBackend.h>

namespace TetherBench {

// Adapters constructed while this is in force get a quiet player; afterwards
// they get the given factory's.
class CQuietPlayerScope {
public:
    explicit CQuietPlayerScope(DeviceAPI::Cinecast::BackendFactory after);
    ~CQuietPlayerScope();

private:
    DeviceAPI::Cinecast::BackendFactory m_after;
};

}  // namespace TetherBench

#endif
