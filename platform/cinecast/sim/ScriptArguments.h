// Reading the arguments of `sim` calls, with script errors for misuse.
#ifndef CINECAST_SIM_SCRIPT_ARGUMENTS_H
#define CINECAST_SIM_SCRIPT_ARGUMENTS_H

#include <v8.h>

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>

#include "Cinecast/ModelAdapter.h"
#include "Cinecast/SimAdapter.h"

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

// Misuse found while reading arguments; becomes a script TypeError or
// RangeError at the top of the call.
class CScriptArgumentError : public std::runtime_error {
public:
    enum EKind { TYPE_ERROR, RANGE_ERROR };
    CScriptArgumentError(EKind eKind, const std::string& strMessage)
        : std::runtime_error(strMessage), m_eKind(eKind) {}
    EKind Kind() const { return m_eKind; }

private:
    EKind m_eKind;
};

// A script exception is already pending (a getter threw): just return.
class CPendingScriptException {};

class CScriptArguments {
public:
    CScriptArguments(const v8::FunctionCallbackInfo<v8::Value>& info, const char* szFunction);

    v8::Isolate* Isolate() const { return m_pIsolate; }
    v8::Local<v8::Context> Context() const { return m_context; }
    v8::Local<v8::Value> At(int iIndex) const { return m_info[iIndex]; }

    // An index of an adapter constructed so far.
    std::size_t AdapterIndex(int iIndex) const;
    KiteBridgeCallBack EventCode(int iIndex) const;
    std::string String(int iIndex, const char* szWhat) const;
    bool Boolean(int iIndex, const char* szWhat) const;
    // The event data of code eCode in argument iData, options in iOptions.
    CEventData EventData(KiteBridgeCallBack eCode, int iData, int iOptions) const;
    CReport Report(int iIndex) const;
    // A media description {duration, seekable, network, error, bands}.
    Model::CMedia Media(int iIndex) const;

    // Integers given as a Number (whole, in range) or a BigInt.
    std::int64_t Signed(v8::Local<v8::Value> value, std::int64_t llMin, std::int64_t llMax, const char* szWhat) const;
    std::uint64_t Unsigned(v8::Local<v8::Value> value, std::uint64_t ullMax, const char* szWhat) const;

    [[noreturn]] void Fail(CScriptArgumentError::EKind eKind, const std::string& strMessage) const;

private:
    v8::Local<v8::Value> property(v8::Local<v8::Object> object, const char* szName) const;
    KiteBridgeEvent event(v8::Local<v8::Value> value, KiteBridgeCallBack eCode) const;
    // szNotArray: the complaint when value is no array.
    std::vector<int> bands(v8::Local<v8::Value> value, const char* szNotArray) const;
    bool optionalBoolean(v8::Local<v8::Object> object, const char* szName, bool bDefault) const;

    const v8::FunctionCallbackInfo<v8::Value>& m_info;
    v8::Isolate* m_pIsolate;
    v8::Local<v8::Context> m_context;
    std::string m_strFunction;
};

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI

#endif
