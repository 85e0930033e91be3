// Sound analysis: a spectrum analyser in the audio path, and its messages
// turned into the band values of the sound-analysis event.
#ifndef CINECAST_GST_SOUND_ANALYSIS_H
#define CINECAST_GST_SOUND_ANALYSIS_H

#include <gst/gst.h>

#include <deque>
#include <vector>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

// The values in each set, as Cinecast/GstAdapter.h tells users.
const int ANALYSIS_BANDS = 16;

// A filter for playbin's audio path (floating reference); null when the
// analyser is not installed. It analyses all the time: the audio it sees
// lies ahead of the output, so switching it on later would leave a gap.
GstElement* MakeAnalysisFilter();
// Whether MakeAnalysisFilter can make one, without making it.
bool CanAnalyse();

// One set of band values, each from 0 to 100, and the media time they
// describe. The analyser runs ahead of the output by as much media as the
// pipeline holds, so a set is shown only once playback has reached it.
struct CBandSet {
    gint64 m_iStreamTimeMs = -1;  // -1 when the analyser did not say
    std::vector<int> m_aBands;
};

// True when the message carries one set of bands from the analyser.
bool ReadBands(GstMessage* pMessage, CBandSet& bandSet);

// The sets waiting for playback to reach them, and the one it has reached.
class CBandTimeline {
public:
    void Add(CBandSet bandSet);
    // The latest set at or before the media time; empty before the first.
    const std::vector<int>& At(gint64 iPositionMs);
    void Clear();

private:
    std::deque<CBandSet> m_aWaiting;
    std::vector<int> m_aCurrent;
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
