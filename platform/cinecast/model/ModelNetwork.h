// How a medium's data reach the model player: a buffer of BUFFER_US of media
// that the network fills at its bandwidth (a share of the media's bit rate)
// after its latency. Each buffering period empties the buffer and fills it
// again, up to what is left of the media; while playing, the buffer drains
// at the rate of play and fills at the bandwidth, so below 1 it runs dry.
// Media times and clock times alike are microseconds.
#ifndef CINECAST_MODEL_NETWORK_H
#define CINECAST_MODEL_NETWORK_H

#include "Cinecast/ModelAdapter.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Model {

class CModelNetwork {
public:
    static constexpr long long BUFFER_US = 2000000;
    // A buffer passes a level for each percent it fills, but reports at
    // most one this often.
    static constexpr long long LEVEL_STEP_US = 50000;
    // No such time: the data keep up, or nothing fails ahead.
    static constexpr long long NEVER = -1;

    // Files, and media not yet read: no latency, no limit.
    CModelNetwork() = default;
    // The media of the next periods; the buffer is empty.
    void Reset(const CMedia& media);

    // A buffering period from llPositionUs lasts the latency, then the time
    // the buffer takes to fill. The level (0 to 100) at llElapsedUs into it:
    int LevelAt(long long llPositionUs, long long llElapsedUs) const;
    // When, within that period, the buffer passes its next level after
    // llElapsedUs; NEVER once it is full.
    long long NextLevelUs(long long llPositionUs, long long llElapsedUs) const;

    // A period from llPositionUs ended at llNowUs: the buffer is full.
    void Fill(long long llPositionUs, long long llNowUs);
    // The clock is at llNowUs and the media at llPositionUs: what the network
    // delivered since the last call is in the buffer (minus what played).
    // Called whenever playback starts or stops.
    void Settle(long long llPositionUs, long long llNowUs);
    // How much can play from llPositionUs before the buffer runs dry.
    long long PlayableUs(long long llPositionUs) const;
    // How long after a download from llPositionUs starts it reaches the
    // described failure; NEVER when the failure lies before it.
    long long UntilFailureUs(long long llPositionUs) const;

private:
    // How much media a period from llPositionUs fills, and in how long.
    long long FillAmountUs(long long llPositionUs) const;
    long long FillTimeUs(long long llPositionUs) const;
    bool IsUnlimited() const { return m_dBandwidth <= 0; }

    long long m_llLatencyUs = 0;
    double m_dBandwidth = 0;                // 0: unlimited
    long long m_llEndUs = NEVER;            // the end of the media
    long long m_llCapacityUs = BUFFER_US;   // what the buffer holds when full
    bool m_bFails = false;                  // the prepare fails: nothing to fill
    long long m_llFailureUs = NEVER;
    // The media time up to which the data have arrived, as of m_llSinceUs
    // on the clock.
    long long m_llLoadedUs = 0;
    long long m_llSinceUs = 0;
};

}  // namespace Model
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
