#include "ScriptArguments.h"

#include <climits>
#include <cmath>

namespace DeviceAPI {
namespace Cinecast {
namespace Sim {

namespace {
const double TWO_TO_THE_64 = 18446744073709551616.0;
}  // namespace

CScriptArguments::CScriptArguments(const v8::FunctionCallbackInfo<v8::Value>& info, const char* szFunction)
    : m_info(info)
    , m_pIsolate(info.GetIsolate())
    , m_context(info.GetIsolate()->GetCurrentContext())
    , m_strFunction(szFunction)
{
}

void CScriptArguments::Fail(CScriptArgumentError::EKind eKind, const std::string& strMessage) const
{
    throw CScriptArgumentError(eKind, m_strFunction + ": " + strMessage);
}

std::int64_t CScriptArguments::Signed(v8::Local<v8::Value> value, std::int64_t llMin, std::int64_t llMax,
                                      const char* szWhat) const
{
    std::string strRange = " from " + std::to_string(llMin) + " to " + std::to_string(llMax);
    if (value->IsBigInt()) {
        bool bLossless = false;
        std::int64_t llValue = value.As<v8::BigInt>()->Int64Value(&bLossless);
        if (!bLossless || llValue < llMin || llValue > llMax)
            Fail(CScriptArgumentError::RANGE_ERROR, std::string(szWhat) + " must be an integer" + strRange);
        return llValue;
    }
    if (!value->IsNumber())
        Fail(CScriptArgumentError::TYPE_ERROR, std::string(szWhat) + " must be a Number or BigInt");
    double dValue = value.As<v8::Number>()->Value();
    // Both bounds are exact as doubles for the ranges used here (32-bit).
    if (std::trunc(dValue) != dValue || dValue < static_cast<double>(llMin) ||
        dValue > static_cast<double>(llMax))
        Fail(CScriptArgumentError::RANGE_ERROR, std::string(szWhat) + " must be an integer" + strRange);
    return static_cast<std::int64_t>(dValue);
}

std::uint64_t CScriptArguments::Unsigned(v8::Local<v8::Value> value, std::uint64_t ullMax, const char* szWhat) const
{
    std::string strRange = " from 0 to " + std::to_string(ullMax);
    if (value->IsBigInt()) {
        bool bLossless = false;
        std::uint64_t ullValue = value.As<v8::BigInt>()->Uint64Value(&bLossless);
        if (!bLossless || ullValue > ullMax)
            Fail(CScriptArgumentError::RANGE_ERROR, std::string(szWhat) + " must be an integer" + strRange);
        return ullValue;
    }
    if (!value->IsNumber())
        Fail(CScriptArgumentError::TYPE_ERROR, std::string(szWhat) + " must be a Number or BigInt");
    double dValue = value.As<v8::Number>()->Value();
    double dMax = ullMax == UINT64_MAX ? TWO_TO_THE_64 : static_cast<double>(ullMax) + 1.0;
    if (std::trunc(dValue) != dValue || dValue < 0 || dValue >= dMax)
        Fail(CScriptArgumentError::RANGE_ERROR, std::string(szWhat) + " must be an integer" + strRange);
    return static_cast<std::uint64_t>(dValue);
}

std::size_t CScriptArguments::AdapterIndex(int iIndex) const
{
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsNumber())
        Fail(CScriptArgumentError::TYPE_ERROR, "the adapter index must be a Number");
    double dValue = value.As<v8::Number>()->Value();
    std::size_t uCount = count();
    if (std::trunc(dValue) != dValue || dValue < 0 || dValue >= static_cast<double>(uCount)) {
        // As the script would print it: 1e+300, NaN, 0.5.
        v8::String::Utf8Value shown(m_pIsolate, value);
        std::string strValue = *shown ? *shown : "?";
        Fail(CScriptArgumentError::RANGE_ERROR, "no adapter " + strValue + " (" + std::to_string(uCount) +
                                                    " constructed, numbered from 0)");
    }
    return static_cast<std::size_t>(dValue);
}

KiteBridgeCallBack CScriptArguments::EventCode(int iIndex) const
{
    return static_cast<KiteBridgeCallBack>(
        Signed(At(iIndex), KITE_BRIDGE_BUFFERING, KITE_BRIDGE_CALLBACK_COUNT - 1, "the event code"));
}

std::string CScriptArguments::String(int iIndex, const char* szWhat) const
{
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsString())
        Fail(CScriptArgumentError::TYPE_ERROR, std::string(szWhat) + " must be a string");
    v8::String::Utf8Value utf8(m_pIsolate, value);
    return std::string(*utf8, utf8.length());
}

bool CScriptArguments::Boolean(int iIndex, const char* szWhat) const
{
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsBoolean())
        Fail(CScriptArgumentError::TYPE_ERROR, std::string(szWhat) + " must be true or false");
    return value->IsTrue();
}

v8::Local<v8::Value> CScriptArguments::property(v8::Local<v8::Object> object, const char* szName) const
{
    v8::Local<v8::String> key;
    v8::Local<v8::Value> value;
    if (!v8::String::NewFromUtf8(m_pIsolate, szName).ToLocal(&key) || !object->Get(m_context, key).ToLocal(&value))
        throw CPendingScriptException();
    return value;
}

CReport CScriptArguments::Report(int iIndex) const
{
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsObject())
        Fail(CScriptArgumentError::TYPE_ERROR, "the report must be an object {duration, position, state}");
    v8::Local<v8::Object> object = value.As<v8::Object>();
    CReport stReport;
    v8::Local<v8::Value> duration = property(object, "duration");
    if (!duration->IsUndefined())
        stReport.m_ulDuration = Unsigned(duration, ULONG_MAX, "duration");
    v8::Local<v8::Value> position = property(object, "position");
    if (!position->IsUndefined())
        stReport.m_ullPosition = Unsigned(position, ULLONG_MAX, "position");
    v8::Local<v8::Value> state = property(object, "state");
    if (!state->IsUndefined())
        stReport.m_iState = static_cast<int>(Signed(state, INT_MIN, INT_MAX, "state"));
    return stReport;
}

bool CScriptArguments::optionalBoolean(v8::Local<v8::Object> object, const char* szName, bool bDefault) const
{
    v8::Local<v8::Value> value = property(object, szName);
    if (value->IsUndefined())
        return bDefault;
    if (!value->IsBoolean())
        Fail(CScriptArgumentError::TYPE_ERROR, std::string(szName) + " must be true or false");
    return value->IsTrue();
}

Model::CMedia CScriptArguments::Media(int iIndex) const
{
    static const struct {
        const char* m_szName;
        Model::EMediaError m_eError;
    } ERRORS[] = {{"missing", Model::EMediaError::MISSING}, {"not-media", Model::EMediaError::NOT_MEDIA},
                  {"unsupported", Model::EMediaError::UNSUPPORTED}, {"http-404", Model::EMediaError::HTTP_404},
                  {"refused", Model::EMediaError::REFUSED}};
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsObject())
        Fail(CScriptArgumentError::TYPE_ERROR,
             "the media must be described by an object {duration, seekable, network, error, bands}");
    v8::Local<v8::Object> object = value.As<v8::Object>();
    Model::CMedia media;
    v8::Local<v8::Value> duration = property(object, "duration");
    // What a query can answer: a signed 32-bit count of milliseconds.
    if (!duration->IsUndefined())
        media.m_ullDurationMs = Unsigned(duration, INT_MAX, "duration");
    media.m_bSeekable = optionalBoolean(object, "seekable", true);
    media.m_bNetwork = optionalBoolean(object, "network", false);
    v8::Local<v8::Value> error = property(object, "error");
    if (!error->IsUndefined()) {
        std::string strNames;
        std::string strError = error->IsString() ? *v8::String::Utf8Value(m_pIsolate, error) : "";
        bool bKnown = false;
        for (const auto& entry : ERRORS) {
            strNames += std::string(strNames.empty() ? "" : ", ") + "'" + entry.m_szName + "'";
            if (error->IsString() && strError == entry.m_szName) {
                media.m_eError = entry.m_eError;
                bKnown = true;
            }
        }
        if (!bKnown)
            Fail(error->IsString() ? CScriptArgumentError::RANGE_ERROR : CScriptArgumentError::TYPE_ERROR,
                 "error must be one of " + strNames);
    }
    v8::Local<v8::Value> aBands = property(object, "bands");
    if (!aBands->IsUndefined()) {
        media.m_aBands = bands(aBands, "bands must be an array of integers");
        for (int iBand : media.m_aBands) {
            if (iBand < 0 || iBand > 100)
                Fail(CScriptArgumentError::RANGE_ERROR, "each band must be an integer from 0 to 100");
        }
    }
    return media;
}

KiteBridgeEvent CScriptArguments::event(v8::Local<v8::Value> value, KiteBridgeCallBack eCode) const
{
    if (!value->IsObject())
        Fail(CScriptArgumentError::TYPE_ERROR, "code " + std::to_string(eCode) +
                                                   " needs an event {type, param1, param2} or null");
    v8::Local<v8::Object> object = value.As<v8::Object>();
    KiteBridgeEvent stEvent{0, "", ""};
    v8::Local<v8::Value> type = property(object, "type");
    if (!type->IsUndefined())
        stEvent.type = static_cast<int>(Signed(type, INT_MIN, INT_MAX, "the event type"));
    const char* aszParams[] = {"param1", "param2"};
    std::string* apTargets[] = {&stEvent.param1, &stEvent.param2};
    for (int n = 0; n < 2; ++n) {
        v8::Local<v8::Value> param = property(object, aszParams[n]);
        if (param->IsUndefined())
            continue;
        if (!param->IsString())
            Fail(CScriptArgumentError::TYPE_ERROR, std::string("the event's ") + aszParams[n] + " must be a string");
        v8::String::Utf8Value utf8(m_pIsolate, param);
        apTargets[n]->assign(*utf8, utf8.length());
    }
    return stEvent;
}

std::vector<int> CScriptArguments::bands(v8::Local<v8::Value> value, const char* szNotArray) const
{
    if (!value->IsArray())
        Fail(CScriptArgumentError::TYPE_ERROR, szNotArray);
    v8::Local<v8::Array> array = value.As<v8::Array>();
    std::vector<int> aBands;
    uint32_t uLength = array->Length();
    if (uLength > static_cast<uint32_t>(INT_MAX))
        Fail(CScriptArgumentError::RANGE_ERROR, "too many bands");
    aBands.reserve(uLength);
    for (uint32_t n = 0; n < uLength; ++n) {
        v8::Local<v8::Value> band;
        if (!array->Get(m_context, n).ToLocal(&band))
            throw CPendingScriptException();
        aBands.push_back(static_cast<int>(Signed(band, INT_MIN, INT_MAX, "each band")));
    }
    return aBands;
}

CEventData CScriptArguments::EventData(KiteBridgeCallBack eCode, int iData, int iOptions) const
{
    CEventData data;
    v8::Local<v8::Value> value = At(iData);
    switch (eCode) {
    case KITE_BRIDGE_BUFFERING:
        data.m_iPercent = static_cast<int>(Signed(value, INT_MIN, INT_MAX, "the buffering percent"));
        break;
    case KITE_BRIDGE_CURRENT_TIME:
        data.m_ullTime = Unsigned(value, ULLONG_MAX, "the time");
        break;
    case KITE_BRIDGE_ERROR_EVENT:
    case KITE_BRIDGE_ASM_PAUSE:
    case KITE_BRIDGE_ASM_RESUME:
        if (value->IsNull())
            data.m_bNullEvent = true;
        else
            data.m_stEvent = event(value, eCode);
        break;
    case KITE_BRIDGE_SOUND_ANALYSIS:
        if (value->IsNull())
            data.m_bNullBands = true;
        else
            data.m_aBands = bands(value, "code 8 needs an array of integers or null");
        break;
    default:
        if (!value->IsNullOrUndefined())
            Fail(CScriptArgumentError::TYPE_ERROR, "code " + std::to_string(eCode) + " carries no data");
        break;
    }

    v8::Local<v8::Value> options = At(iOptions);
    if (options->IsUndefined())
        return data;
    if (!options->IsObject())
        Fail(CScriptArgumentError::TYPE_ERROR, "the options must be an object");
    v8::Local<v8::Value> userData = property(options.As<v8::Object>(), "userData");
    if (userData->IsNull())
        data.m_bNullUserData = true;
    else if (!userData->IsUndefined())
        Fail(CScriptArgumentError::TYPE_ERROR, "options.userData can only be null (or left out)");
    return data;
}

}  // namespace Sim
}  // namespace Cinecast
}  // namespace DeviceAPI
