// Reading the arguments of `sim` calls, with script errors for misuse.
#ifndef KITE_SIM_ARGUMENTS_H
#define KITE_SIM_ARGUMENTS_H

#include <Bridge/TypedArguments.h>
#include <Bridge/V8Compat.h>
#include <cstddef>
#include <initializer_list>
#include <string>
#include <v8.h>
#include <vector>

#include "Cinecast/ModelAdapter.h"
#include "Cinecast/SimAdapter.h"

namespace Kite {

// The typed arguments of the engine, with the simulated player's own types.
class CSimArguments : public Bridge::TypedArguments {
public:
    using TypedArguments::TypedArguments;

    // An index of an adapter constructed so far.
    std::size_t AdapterIndex(int iIndex, const DeviceAPI::Cinecast::Sim::CPlayers& players) const;
    DeviceAPI::Cinecast::KiteBridgeCallBack EventCode(int iIndex) const;
    // The event data of code eCode in argument iData, options in iOptions.
    DeviceAPI::Cinecast::Sim::CEventData EventData(DeviceAPI::Cinecast::KiteBridgeCallBack eCode, int iData, int iOptions) const;
    DeviceAPI::Cinecast::Sim::CReport Report(int iIndex) const;
    // A media description {kind, duration, seekable, network, ranges,
    // length, live, segment, latency, bandwidth, fail, hold, error, reason,
    // bands} (MediaArguments.cpp).
    DeviceAPI::Cinecast::Model::CMedia Media(int iIndex) const;

private:
    DeviceAPI::Cinecast::KiteBridgeEvent event(v8::Local<v8::Value> value, DeviceAPI::Cinecast::KiteBridgeCallBack eCode) const;
    // szNotArray: the complaint when value is no array.
    std::vector<int> bands(v8::Local<v8::Value> value, const char* szNotArray) const;

    // The parts of a media description.
    bool optionalBoolean(v8::Local<v8::Value> value, const char* szName, bool bDefault) const;
    // The index of the name that value is, else an error naming strWhat and
    // every name.
    std::size_t oneOf(v8::Local<v8::Value> value, std::initializer_list<const char*> aNames,
                      const std::string& strWhat) const;
    DeviceAPI::Cinecast::Model::EMediaKind mediaKind(v8::Local<v8::Object> object) const;
    // The fields that only some kinds take: an error naming them on others.
    v8::Local<v8::Value> kindField(v8::Local<v8::Object> object, const char* szName, bool bAllowed,
                                   const char* szKinds) const;
    void networkFields(v8::Local<v8::Object> object, DeviceAPI::Cinecast::Model::CMedia& media) const;
    void failure(v8::Local<v8::Object> object, DeviceAPI::Cinecast::Model::CMedia& media, unsigned long long ullSegmentMs) const;
};

}  // namespace Kite

#endif
