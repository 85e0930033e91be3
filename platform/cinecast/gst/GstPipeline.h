// One playbin with its sinks and analyser, watched on the worker's context.
// Used on the worker thread only, but for position queries.
#ifndef CINECAST_GST_PIPELINE_H
#define CINECAST_GST_PIPELINE_H

#include <gst/gst.h>

#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace DeviceAPI {
namespace Cinecast {
namespace Gst {

// The playing position of a playbin; usable from any thread.
bool QueryPlaybackPosition(GstElement* pPlaybin, gint64& iMilliseconds);

class CGstPipeline {
public:
    using MessageHandler = std::function<void(GstMessage*)>;

    // Null when playbin or a sink cannot be made. Bus messages go to
    // onMessage on pContext's thread.
    static std::unique_ptr<CGstPipeline> Make(GMainContext* pContext, MessageHandler onMessage);
    // Stops the pipeline; no message is handled after this.
    ~CGstPipeline();

    void SetUri(const std::string& strUri);
    GstStateChangeReturn SetState(GstState eState);
    // Waits until pending state changes and flushing seeks have completed,
    // handing every message to the handler meanwhile (which may wait in
    // turn). False on an error or when iTimeoutMs has passed.
    bool WaitForAsyncDone(int iTimeoutMs);
    // True while the pipeline waits for media to pause on: a preroll, or a
    // flushing seek under way.
    bool IsPrerolling() const;
    // Handles the messages already posted, at once.
    void HandlePending();

    bool Seek(gint64 iMilliseconds);
    // False when the media cannot seek: GStreamer says so (a live stream, a
    // server that answers "Accept-Ranges: none"), or an HTTP server did not
    // offer byte ranges ("Accept-Ranges: bytes"), so that a seek would fail
    // the stream.
    bool CanSeek() const;
    bool QueryPosition(gint64& iMilliseconds) const;
    bool QueryDuration(gint64& iMilliseconds) const;

    void SetUserAgent(const std::string& strUserAgent);
    GstElement* Playbin() const { return m_pPlaybin; }
    bool HasAnalysis() const { return m_pAnalysis != nullptr; }

private:
    CGstPipeline(GstElement* pPlaybin, GstElement* pAnalysis, GMainContext* pContext, MessageHandler onMessage);
    CGstPipeline(const CGstPipeline&) = delete;
    CGstPipeline& operator=(const CGstPipeline&) = delete;

    void Dispatch(GstMessage* pMessage);
    // The response headers that an HTTP source reports.
    void ReadHttpHeaders(GstMessage* pMessage);
    static gboolean OnBusMessage(GstBus* pBus, GstMessage* pMessage, gpointer pData);
    static void OnSourceSetup(GstElement* pPlaybin, GstElement* pSource, gpointer pData);

    GstElement* m_pPlaybin;
    GstElement* m_pAnalysis;  // owned by the playbin; may be null
    GSource* m_pBusWatch;
    MessageHandler m_onMessage;
    // Completions and errors seen so far, wherever they were taken off the bus.
    guint64 m_uAsyncDone = 0;
    guint64 m_uErrors = 0;
    // An HTTP source answered without offering byte ranges.
    bool m_bHttpWithoutRanges = false;

    // Network sources are set up on whichever thread starts them.
    mutable std::mutex m_sourceLock;
    std::string m_strUserAgent;
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
