// The outputs of a pipeline: the machine's own where it has them, silent
// sinks that still keep time where it has none.
#ifndef CINECAST_GST_SINKS_H
#define CINECAST_GST_SINKS_H

#include <gst/gst.h>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

enum class EOutput { Audio, Video };

// A new sink for the output (floating reference), or null when not even a
// silent one can be made. Names given in CINECAST_GST_AUDIO_SINK and
// CINECAST_GST_VIDEO_SINK win over the machine's probed outputs: for sound
// pulsesink, alsasink or the silent sink, in that order.
GstElement* MakeSink(EOutput eOutput);

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
