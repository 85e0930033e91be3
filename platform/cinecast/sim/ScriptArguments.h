// Reading the arguments of `sim` calls, with script errors for misuse.
#ifndef CINECAST_SIM_SCRIPT_ARGUMENTS_H
#define CINECAST_SIM_SCRIPT_ARGUMENTS_H

#include <Bridge/TypedArguments.h>
#include <Bridge/V8Compat.h>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <v8.h>
#include <vector>

#include "Cinecast/ModelAdapter.h"
#include "Cinecast/SimAdapter.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

// The typed arguments of the engine, with the simulated player's own types.
class CScriptArguments : public Bridge::TypedArguments {
public:
    using TypedArguments::TypedArguments;

    // An index of an adapter constructed so far.
    std::size_t AdapterIndex(int iIndex) const;
    KiteBridgeCallBack EventCode(int iIndex) const;
    // The event data of code eCode in argument iData, options in iOptions.
    CEventData EventData(KiteBridgeCallBack eCode, int iData, int iOptions) const;
    CReport Report(int iIndex) const;
    // A media description {kind, duration, seekable, network, ranges,
    // length, live, segment, latency, bandwidth, fail, hold, error, reason,
    // bands} (MediaArguments.cpp).
    Model::CMedia Media(int iIndex) const;

private:
    KiteBridgeEvent event(v8::Local<v8::Value> value, KiteBridgeCallBack eCode) const;
    // szNotArray: the complaint when value is no array.
    std::vector<int> bands(v8::Local<v8::Value> value, const char* szNotArray) const;

    // The parts of a media description.
    bool optionalBoolean(v8::Local<v8::Value> value, const char* szName, bool bDefault) const;
    // The index of the name that value is, else an error naming strWhat and
    // every name.
    std::size_t oneOf(v8::Local<v8::Value> value, std::initializer_list<const char*> aNames,
                      const std::string& strWhat) const;
    Model::EMediaKind mediaKind(v8::Local<v8::Object> object) const;
    // The fields that only some kinds take: an error naming them on others.
    v8::Local<v8::Value> kindField(v8::Local<v8::Object> object, const char* szName, bool bAllowed,
                                   const char* szKinds) const;
    void networkFields(v8::Local<v8::Object> object, Model::CMedia& media) const;
    void failure(v8::Local<v8::Object> object, Model::CMedia& media, unsigned long long ullSegmentMs) const;
};

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
