#include "AdapterSelection.h"

#include <Bridge/Engine.h>
#include <Cinecast/AdapterBackend.h>
#include <cstdio>
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

// Collection destroying a reachable-looking player is the engine's rule, but
// a player that stops for no visible reason needs a word. Every destruction
// takes the adapter library's answer, so that only a collection's is told.
void WarnWhenCollectedPlaying(const char* pszClassName, const std::string& strMadeAt, bool bCollected)
{
    if (!DeviceAPI::Cinecast::TakeDestroyedWhilePlaying() || !bCollected)
        return;
    std::fflush(stdout);
    std::string strWhere = strMadeAt.empty() ? std::string() : " made at " + strMadeAt;
    std::fprintf(stderr, "kite: a %s%s was collected while playing; keep a reference to it\n", pszClassName,
                 strWhere.c_str());
    std::fflush(stderr);
}

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
    Bridge::Engine::SetDestroyedHandler(WarnWhenCollectedPlaying);
}

}  // namespace Kite
