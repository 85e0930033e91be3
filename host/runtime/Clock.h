// A run's clock. Timers, intervals, performance.now(), console.time and the
// model player's events all read it. It follows the wall clock, or, once
// UseVirtualTime() has been called before the script starts (kite
// --clock=virtual, or a test runner), it stands still until the script moves
// it with sim.advance: whatever falls due meanwhile then runs in time order.
#ifndef KITE_CLOCK_H
#define KITE_CLOCK_H

#include <glib.h>

namespace Kite {

// Where a virtual clock's dates start: 2000-01-01T00:00:00Z, in
// milliseconds since 1970.
constexpr double VIRTUAL_EPOCH_MS = 946684800000.0;

class CClock {
public:
    // The wall clock's reading starts at 0 now.
    CClock();

    // Call before the script runs; there is no way back for the run.
    void UseVirtualTime() { m_bVirtual = true; }
    bool IsVirtual() const { return m_bVirtual; }

    // Microseconds since the run started, on the run's clock.
    gint64 NowUs() const;
    // What Date.now() answers on virtual time: the epoch plus the clock's
    // reading.
    double VirtualDateMs() const;
    // Moves virtual time forward to llUs (never back); no effect on the wall clock.
    void SetVirtualNowUs(gint64 llUs);

private:
    const gint64 m_llWallStartUs;
    bool m_bVirtual = false;
    gint64 m_llVirtualNowUs = 0;
};

}  // namespace Kite

#endif
