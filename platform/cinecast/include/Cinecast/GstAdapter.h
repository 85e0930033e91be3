// The GStreamer player: adapters that really play media on a desktop.
//
// Units are milliseconds for durations, positions, seek targets, skip
// amounts, restore times and the current-time event. States: 0 created
// without media, 1 media set but not prepared, 2 prepared and not started,
// 3 playing, 4 paused. Events reach the handlers from the adapter's own
// thread only, and only after SetKiteBridge(true).
//
// Outputs: CINECAST_GST_AUDIO_SINK and CINECAST_GST_VIDEO_SINK name the sink
// elements to use (for example "fakesink"); without them the machine's own
// outputs are used when it has any, and silent sinks that keep time
// otherwise.
#ifndef CINECAST_GST_ADAPTER_H
#define CINECAST_GST_ADAPTER_H

#include "Cinecast/AdapterBackend.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

// The backend of one GStreamer adapter; a factory for SetBackendFactory.
// Null when GStreamer cannot be initialised.
CAdapterBackend* CreateBackend();

// The number of values in every sound-analysis event, each from 0 (silence)
// to 100 (full scale), lowest frequencies first.
const int SOUND_ANALYSIS_BANDS = 16;

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
