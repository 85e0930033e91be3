// The GStreamer player: adapters that really play media on a desktop.
//
// Units are milliseconds for durations, positions, seek targets, skip
// amounts, restore times and the current-time event. States: 0 created
// without media, 1 media set but not prepared, 2 prepared and not started,
// 3 playing, 4 paused. Events reach the handlers from the adapter's own
// thread only, and only after SetKiteBridge(true).
//
// - setUri takes a URI or a file path; a synchronous prepare gives up after
//   10 s; a failed prepare leaves state 1 and reports an error event (code,
//   message, debug text).
// - At the end of the stream the state is 2 again and play starts over.
// - seekTo and Skip refuse media that cannot seek (a live stream, an HTTP
//   server that does not answer "Accept-Ranges: bytes"), and playback goes
//   on; such media restored at a time start from the beginning.
// - seekTo refuses targets outside the media; Skip clamps to it. Until a
//   seek has landed (seek-complete), the position is its target.
// - suspend keeps the media, position and state; restore(url, time, prepare)
//   reopens url, or the kept media when url is empty, at time, or at the
//   kept position when time is negative; with prepare it returns to the
//   kept state, without it the next prepare lands at that time.
// - The only streaming property is "USER_AGENT", for network sources.
// - ASM pause and resume follow the audio sink's requests for another
//   state: type is the state asked for (3 paused, 4 playing), param1 the
//   sink's name, param2 the state's name.
//
// Outputs: CINECAST_GST_AUDIO_SINK and CINECAST_GST_VIDEO_SINK name the sink
// elements to use (for example "fakesink"); without them the machine's own
// outputs are used when it has any, and silent sinks that keep time
// otherwise. The sound goes to a sound server when one answers (PulseAudio,
// or PipeWire for it), else to ALSA when /proc/asound/cards lists a card;
// no library's own error lines are printed on a machine without sound.
#ifndef CINECAST_GST_ADAPTER_H
#define CINECAST_GST_ADAPTER_H

#include <string>

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

// The version of the GStreamer library in use, such as "1.22.0".
std::string LibraryVersion();

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
