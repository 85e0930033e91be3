#include "AdapterSelection.h"

#include <Cinecast/AdapterBackend.h>
#ifdef KITE_WITH_GSTREAMER
#include <Cinecast/GstAdapter.h>
#endif
#include <Cinecast/SimAdapter.h>
#include <Cinecast/SimScriptInterface.h>

namespace Kite {

namespace {

struct CAdapterChoice {
    const char* m_pszName;
    void (*m_pSelect)(v8::Local<v8::Context> context);
};

void SelectSimulated(v8::Local<v8::Context> context)
{
    DeviceAPI::Cinecast::SetBackendFactory(DeviceAPI::Cinecast::Sim::CreateBackend);
    DeviceAPI::Cinecast::Sim::InstallScriptInterface(context);
}

#ifdef KITE_WITH_GSTREAMER
void SelectGStreamer(v8::Local<v8::Context>)
{
    DeviceAPI::Cinecast::SetBackendFactory(DeviceAPI::Cinecast::Gst::CreateBackend);
}
#endif

const CAdapterChoice s_aChoices[] = {
    {"sim", SelectSimulated},
#ifdef KITE_WITH_GSTREAMER
    {"gst", SelectGStreamer},
#endif
};

const CAdapterChoice* Find(const std::string& strName)
{
    for (const CAdapterChoice& choice : s_aChoices) {
        if (strName == choice.m_pszName)
            return &choice;
    }
    return nullptr;
}

}  // namespace

bool IsKnownAdapter(const std::string& strName)
{
    return Find(strName) != nullptr;
}

void SelectAdapter(const std::string& strName, v8::Local<v8::Context> context)
{
    const CAdapterChoice* pChoice = Find(strName);
    if (pChoice != nullptr)
        pChoice->m_pSelect(context);
}

}  // namespace Kite
