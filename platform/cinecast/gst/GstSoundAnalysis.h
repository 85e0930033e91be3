// Sound analysis: a spectrum analyser in the audio path, and its messages
// turned into the band values of the sound-analysis event.
#ifndef CINECAST_GST_SOUND_ANALYSIS_H
#define CINECAST_GST_SOUND_ANALYSIS_H

#include <gst/gst.h>

#include <vector>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

// A filter for playbin's audio path (floating reference), silent until
// switched on; null when the analyser is not installed.
GstElement* MakeAnalysisFilter();
void SwitchAnalysis(GstElement* pFilter, bool bOn);

// True when the message carries one set of bands from the analyser; they
// are written to aBands, each from 0 to 100.
bool ReadBands(GstMessage* pMessage, std::vector<int>& aBands);

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
