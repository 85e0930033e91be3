// A silent audio sink that can ask, as a sound server does, for the player
// to pause or resume, and can report buffering: element "cinecastaskingsink".
#ifndef CINECAST_TESTS_ASKING_SINK_H
#define CINECAST_TESTS_ASKING_SINK_H

#include <gst/gst.h>

namespace AskingSink {

// Registers the element once; also starts GStreamer.
const char* Register();

// The sink made last (not referenced), or null.
GstElement* Last();

// Posts what the sink's device would: a request for another state, or a
// buffering percentage.
void Ask(GstElement* pSink, GstState eState);
void Buffer(GstElement* pSink, int iPercent);

}  // namespace AskingSink

#endif
