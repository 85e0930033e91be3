// One playbin with its sinks and analyser, watched on the worker's context.
// Used on the worker thread only.
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
    // Waits until a pending state change or flushing seek has completed,
    // handing every other message to the handler meanwhile. False on an
    // error or when iTimeoutMs has passed.
    bool WaitForAsyncDone(int iTimeoutMs);
    // Handles the messages already posted, at once.
    void HandlePending();

    bool Seek(gint64 iMilliseconds);
    bool QueryPosition(gint64& iMilliseconds) const;
    bool QueryDuration(gint64& iMilliseconds) const;

    void SetUserAgent(const std::string& strUserAgent);
    bool HasAnalysis() const { return m_pAnalysis != nullptr; }
    void SwitchAnalysis(bool bOn);

private:
    CGstPipeline(GstElement* pPlaybin, GstElement* pAnalysis, GMainContext* pContext, MessageHandler onMessage);
    CGstPipeline(const CGstPipeline&) = delete;
    CGstPipeline& operator=(const CGstPipeline&) = delete;

    static gboolean OnBusMessage(GstBus* pBus, GstMessage* pMessage, gpointer pData);
    static void OnSourceSetup(GstElement* pPlaybin, GstElement* pSource, gpointer pData);

    GstElement* m_pPlaybin;
    GstElement* m_pAnalysis;  // owned by the playbin; may be null
    GSource* m_pBusWatch;
    MessageHandler m_onMessage;

    // Network sources are set up on whichever thread starts them.
    mutable std::mutex m_sourceLock;
    std::string m_strUserAgent;
};

}  // namespace Gst
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
