#include "adapters/SimArguments.h"

#include <climits>
#include <cmath>

namespace Kite {

using namespace DeviceAPI::Cinecast;

std::size_t CSimArguments::AdapterIndex(int iIndex, const Sim::CPlayers& players) const
{
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsNumber())
        Fail(Bridge::ScriptError::TYPE_ERROR, "the adapter index must be a Number");
    double dValue = value.As<v8::Number>()->Value();
    std::size_t uCount = players.count();
    if (std::trunc(dValue) != dValue || dValue < 0 || dValue >= static_cast<double>(uCount)) {
        // As the script would print it: 1e+300, NaN, 0.5.
        Bridge::Compat::Utf8Value shown(Isolate(), value);
        std::string strValue = *shown ? *shown : "?";
        Fail(Bridge::ScriptError::RANGE_ERROR, "no adapter " + strValue + " (" + std::to_string(uCount) +
                                                    " constructed, numbered from 0)");
    }
    return static_cast<std::size_t>(dValue);
}

KiteBridgeCallBack CSimArguments::EventCode(int iIndex) const
{
    return static_cast<KiteBridgeCallBack>(
        Signed(At(iIndex), KITE_BRIDGE_BUFFERING, KITE_BRIDGE_CALLBACK_COUNT - 1, "the event code"));
}

Sim::CReport CSimArguments::Report(int iIndex) const
{
    v8::Local<v8::Value> value = At(iIndex);
    if (!value->IsObject())
        Fail(Bridge::ScriptError::TYPE_ERROR, "the report must be an object {duration, position, state}");
    v8::Local<v8::Object> object = value.As<v8::Object>();
    Sim::CReport stReport;
    v8::Local<v8::Value> duration = Property(object, "duration");
    if (!duration->IsUndefined())
        stReport.m_ulDuration = Unsigned(duration, ULONG_MAX, "duration");
    v8::Local<v8::Value> position = Property(object, "position");
    if (!position->IsUndefined())
        stReport.m_ullPosition = Unsigned(position, ULLONG_MAX, "position");
    v8::Local<v8::Value> state = Property(object, "state");
    if (!state->IsUndefined())
        stReport.m_iState = static_cast<int>(Signed(state, INT_MIN, INT_MAX, "state"));
    return stReport;
}

KiteBridgeEvent CSimArguments::event(v8::Local<v8::Value> value, KiteBridgeCallBack eCode) const
{
    if (!value->IsObject())
        Fail(Bridge::ScriptError::TYPE_ERROR, "code " + std::to_string(eCode) +
                                                   " needs an event {type, param1, param2} or null");
    v8::Local<v8::Object> object = value.As<v8::Object>();
    KiteBridgeEvent stEvent{0, "", ""};
    v8::Local<v8::Value> type = Property(object, "type");
    if (!type->IsUndefined())
        stEvent.type = static_cast<int>(Signed(type, INT_MIN, INT_MAX, "the event type"));
    const char* aszParams[] = {"param1", "param2"};
    std::string* apTargets[] = {&stEvent.param1, &stEvent.param2};
    for (int n = 0; n < 2; ++n) {
        v8::Local<v8::Value> param = Property(object, aszParams[n]);
        if (param->IsUndefined())
            continue;
        if (!param->IsString())
            Fail(Bridge::ScriptError::TYPE_ERROR, std::string("the event's ") + aszParams[n] + " must be a string");
        // Unlike Bridge::TextOf, a lone surrogate keeps its three bytes: a
        // player's texts need not be valid UTF-8 either.
        Bridge::Compat::Utf8Value utf8(Isolate(), param);
        apTargets[n]->assign(*utf8, utf8.length());
    }
    return stEvent;
}

std::vector<int> CSimArguments::bands(v8::Local<v8::Value> value, const char* szNotArray) const
{
    if (!value->IsArray())
        Fail(Bridge::ScriptError::TYPE_ERROR, szNotArray);
    v8::Local<v8::Array> array = value.As<v8::Array>();
    std::vector<int> aBands;
    uint32_t uLength = array->Length();
    if (uLength > static_cast<uint32_t>(INT_MAX))
        Fail(Bridge::ScriptError::RANGE_ERROR, "too many bands");
    aBands.reserve(uLength);
    for (uint32_t n = 0; n < uLength; ++n) {
        v8::Local<v8::Value> band;
        if (!Bridge::Compat::Get(Context(), array, n).ToLocal(&band))
            throw Bridge::ScriptExceptionPending();
        aBands.push_back(static_cast<int>(Signed(band, INT_MIN, INT_MAX, "each band")));
    }
    return aBands;
}

Sim::CEventData CSimArguments::EventData(KiteBridgeCallBack eCode, int iData, int iOptions) const
{
    Sim::CEventData data;
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
        if (!value->IsNull() && !value->IsUndefined())
            Fail(Bridge::ScriptError::TYPE_ERROR, "code " + std::to_string(eCode) + " carries no data");
        break;
    }

    v8::Local<v8::Value> options = At(iOptions);
    if (options->IsUndefined())
        return data;
    if (!options->IsObject())
        Fail(Bridge::ScriptError::TYPE_ERROR, "the options must be an object");
    v8::Local<v8::Value> userData = Property(options.As<v8::Object>(), "userData");
    if (userData->IsNull())
        data.m_bNullUserData = true;
    else if (!userData->IsUndefined())
        Fail(Bridge::ScriptError::TYPE_ERROR, "options.userData can only be null (or left out)");
    return data;
}

}  // namespace Kite
