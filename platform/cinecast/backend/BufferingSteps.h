// Which buffering levels the players report. A pipeline reports every level
// it passes, up to a hundred within milliseconds; an app wants to draw a
// spinner or a bar from them, so both players send:
//   - the first level of a buffering period: the first after the previous
//     period ended, or after Reset() (new media, a seek, a restart);
//   - then a higher level only once it is at least STEP_PERCENT above the
//     last one sent and at least STEP_US after it;
//   - and 100, which ends the period, once.
// Levels that are held back, and levels lower than the last one sent within
// a period (a pipeline's queues report in turn), are dropped.
#ifndef CINECAST_BUFFERING_STEPS_H
#define CINECAST_BUFFERING_STEPS_H

namespace DeviceAPI {
namespace Cinecast {

class CBufferingSteps {
public:
    static const int STEP_PERCENT = 10;
    static const long long STEP_US = 200 * 1000;

    // Whether the level reported at llNowUs (microseconds on any clock that
    // never goes back) is sent; remembers it if so.
    bool Admit(int iPercent, long long llNowUs);
    // The next level starts a period, whatever it is.
    void Reset() { m_iLast = -1; }
    // A period has started and not ended.
    bool IsOpen() const { return m_iLast >= 0 && m_iLast < 100; }

private:
    int m_iLast = -1;
    long long m_llLastUs = 0;
};

}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
