#include "AskingSink.h"

#include <atomic>
#include <mutex>

namespace {

struct CAskingSink {
    GstBin m_parent;
};

struct CAskingSinkClass {
    GstBinClass m_parentClass;
};

std::atomic<GstElement*> g_pLast{nullptr};

G_DEFINE_TYPE(CAskingSink, cinecast_asking_sink, GST_TYPE_BIN)

void cinecast_asking_sink_class_init(CAskingSinkClass* pClass)
{
    gst_element_class_set_static_metadata(GST_ELEMENT_CLASS(pClass), "Asking sink", "Sink/Audio",
                                          "A silent sink that asks for state changes", "Tether tests");
}

void cinecast_asking_sink_init(CAskingSink* pSelf)
{
    GstElement* pFake = gst_element_factory_make("fakesink", nullptr);
    g_object_set(pFake, "sync", TRUE, nullptr);
    gst_bin_add(GST_BIN(pSelf), pFake);
    GstPad* pTarget = gst_element_get_static_pad(pFake, "sink");
    gst_element_add_pad(GST_ELEMENT(pSelf), gst_ghost_pad_new("sink", pTarget));
    gst_object_unref(pTarget);
    GST_OBJECT_FLAG_SET(pSelf, GST_ELEMENT_FLAG_SINK);
    g_pLast.store(GST_ELEMENT(pSelf));
}

}  // namespace

namespace AskingSink {

const char* Register()
{
    static std::once_flag s_once;
    std::call_once(s_once, [] {
        gst_init(nullptr, nullptr);
        gst_element_register(nullptr, "cinecastaskingsink", GST_RANK_NONE, cinecast_asking_sink_get_type());
    });
    return "cinecastaskingsink";
}

GstElement* Last()
{
    return g_pLast.load();
}

void Ask(GstElement* pSink, GstState eState)
{
    gst_element_post_message(pSink, gst_message_new_request_state(GST_OBJECT(pSink), eState));
}

void Buffer(GstElement* pSink, int iPercent)
{
    gst_element_post_message(pSink, gst_message_new_buffering(GST_OBJECT(pSink), iPercent));
}

}  // namespace AskingSink
