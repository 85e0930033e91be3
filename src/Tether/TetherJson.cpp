#include "TetherJson.h"

#include "TetherLog.h"

#include <cmath>
#include <limits>

// Json::Reader and Json::FastWriter are deprecated in jsoncpp, but their
// parsing and output are exactly what this class promises its users.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

// This class's lines carry no tag, unlike the rest of the plug-in, and are
// written in the frame of the operation's site.
#define JSON_LOG_W_AT(site, fmt, ...) \
    TETHER_LOG_FRAME(nullptr, site, DLOG_WARN, TETHER_COLOUR_RED, fmt, ##__VA_ARGS__)
#define JSON_LOG_EXCEPTION_AT(site, e)                                                               \
    __dlog_print(LOG_ID_MAIN, DLOG_ERROR, nullptr, "%s: %s(%d) > [%s] Exception Handled by : %s", \
                 ::Tether::BaseName(__FILE__), (site).m_pszFunction, (site).m_iLine, (site).m_pszFunction, (e).what())

namespace {

using Tether::CLogSite;

int TypeOf(const Json::Value& value)
{
    return static_cast<int>(value.type());
}

// Truncates toward zero, saturating where the double does not fit, so no
// member value can make the conversion undefined.
template <typename TInteger>
TInteger DoubleToInteger(double dValue)
{
    if (std::isnan(dValue))
        return 0;
    constexpr double dLimit = static_cast<double>(std::numeric_limits<TInteger>::max()) + 1.0;  // rounds to 2^N
    if (dValue >= dLimit)
        return std::numeric_limits<TInteger>::max();
    if (dValue <= static_cast<double>(std::numeric_limits<TInteger>::min()))
        return std::numeric_limits<TInteger>::min();
    return static_cast<TInteger>(dValue);
}

// Runs body(); a jsoncpp exception becomes the short exception line and the
// answer thrown. Other exceptions pass.
template <typename TResult, typename TBody>
TResult Caught(const CLogSite& site, TResult thrown, TBody body)
{
    try {
        return body();
    } catch (const Json::Exception& e) {
        JSON_LOG_EXCEPTION_AT(site, e);
        return thrown;
    }
}

// The guard of the operations that need a valid document: an invalid one is
// refused with the verb's line (none when pszVerb is null) and left alone.
template <typename TResult, typename TBody>
TResult Guarded(const CLogSite& site, bool bValid, const Json::Value& root, const char* pszVerb, TResult invalid,
                TResult thrown, TBody body)
{
    if (!bValid) {
        if (pszVerb != nullptr)
            JSON_LOG_W_AT(site, "%s fail. jsonvalue is invalid type[%d].", pszVerb, TypeOf(root));
        return invalid;
    }
    return Caught(site, thrown, body);
}

// A Set: store() creates, replaces or appends to the member.
template <typename TStore>
bool SetMember(const CLogSite& site, bool bValid, const Json::Value& root, TStore store)
{
    return Guarded(site, bValid, root, "Set", false, false, [&] {
        store();
        return true;
    });
}

// A Get: the member must exist and pass its type test before read() converts
// it into the target, which is otherwise left alone.
template <typename TRead>
bool GetMember(const CLogSite& site, bool bValid, const Json::Value& root, const std::string& strKey,
               bool (Json::Value::*accepts)() const, TRead read)
{
    return Guarded(site, bValid, root, "Get", false, false, [&] {
        if (!root.isMember(strKey.c_str())) {
            JSON_LOG_W_AT(site, "NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        Json::Value value = root.get(strKey, Json::Value());
        if (!(value.*accepts)()) {
            JSON_LOG_W_AT(site, "value.type[%d].", TypeOf(value));
            return false;
        }
        read(value);
        return true;
    });
}

// Parses strJson into root. Only a text that parses to an object makes a
// valid document; the empty text is not one.
bool ParseObject(const CLogSite& site, const std::string& strJson, Json::Value& root)
{
    return Caught(site, false, [&] {
        if (!strJson.empty()) {
            Json::Reader reader;
            if (!reader.parse(strJson, root, true)) {
                // A failed parse may leave part of an object behind: never valid.
                JSON_LOG_W_AT(site, "Json::Reader parse string[%s] faild.", strJson.c_str());
                return false;
            }
        }
        return root.type() == Json::objectValue;
    });
}

}  // namespace

CTetherJson::CTetherJson() : jsonvalue(), bValid(true)
{
    Caught(LOG_SITE(), false, [&] {
        jsonvalue.clear();
        return true;
    });
}

CTetherJson::CTetherJson(std::string strJson) : jsonvalue(), bValid(ParseObject(LOG_SITE(), strJson, jsonvalue))
{
}

CTetherJson::~CTetherJson() = default;

void CTetherJson::Clear()
{
    Guarded(LOG_SITE(), bValid, jsonvalue, "Clear", false, false, [&] {
        jsonvalue.clear();
        return true;
    });
}

bool CTetherJson::Set(std::string strKey, bool bValue)
{
    return SetMember(LOG_SITE(), bValid, jsonvalue, [&] { jsonvalue[strKey] = Json::Value(bValue); });
}

bool CTetherJson::Set(std::string strKey, int iValue)
{
    return SetMember(LOG_SITE(), bValid, jsonvalue, [&] { jsonvalue[strKey] = Json::Value(iValue); });
}

bool CTetherJson::Set(std::string strKey, unsigned int uValue)
{
    return SetMember(LOG_SITE(), bValid, jsonvalue, [&] { jsonvalue[strKey] = Json::Value(uValue); });
}

bool CTetherJson::Set(std::string strKey, long long llValue)
{
    // Exact while |llValue| <= 2^53; beyond, the nearest double.
    return SetMember(LOG_SITE(), bValid, jsonvalue,
                     [&] { jsonvalue[strKey] = Json::Value(static_cast<double>(llValue)); });
}

bool CTetherJson::Set(std::string strKey, unsigned long long ullValue)
{
    return SetMember(LOG_SITE(), bValid, jsonvalue,
                     [&] { jsonvalue[strKey] = Json::Value(static_cast<double>(ullValue)); });
}

bool CTetherJson::Set(std::string strKey, double dValue)
{
    return SetMember(LOG_SITE(), bValid, jsonvalue, [&] { jsonvalue[strKey] = Json::Value(dValue); });
}

bool CTetherJson::Set(std::string strKey, std::string strValue)
{
    return SetMember(LOG_SITE(), bValid, jsonvalue, [&] { jsonvalue[strKey] = Json::Value(strValue); });
}

bool CTetherJson::Set(std::string strKey, const char* pszValue)
{
    return SetMember(LOG_SITE(), bValid, jsonvalue,
                     [&] { jsonvalue[strKey] = Json::Value(std::string(pszValue != nullptr ? pszValue : "")); });
}

bool CTetherJson::Set(std::string strKey, std::vector<std::string> vecValue)
{
    // Appends rather than replaces; an empty vector creates no member.
    return SetMember(LOG_SITE(), bValid, jsonvalue, [&] {
        for (const std::string& strValue : vecValue)
            jsonvalue[strKey].append(Json::Value(strValue));
    });
}

bool CTetherJson::Get(std::string strKey, bool& bValue)
{
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isBool,
                     [&](const Json::Value& value) { bValue = value.asBool(); });
}

bool CTetherJson::Get(std::string strKey, int& iValue)
{
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isInt,
                     [&](const Json::Value& value) { iValue = value.asInt(); });
}

bool CTetherJson::Get(std::string strKey, double& dValue)
{
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isDouble,
                     [&](const Json::Value& value) { dValue = value.asDouble(); });
}

bool CTetherJson::Get(std::string strKey, std::string& strValue)
{
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isString,
                     [&](const Json::Value& value) { strValue = value.asString(); });
}

bool CTetherJson::Get(std::string strKey, long long& llValue)
{
    // Any number is accepted here, unlike the unsigned long long read.
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isDouble,
                     [&](const Json::Value& value) { llValue = DoubleToInteger<long long>(value.asDouble()); });
}

bool CTetherJson::Get(std::string strKey, unsigned int& uValue)
{
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isUInt,
                     [&](const Json::Value& value) { uValue = value.asUInt(); });
}

bool CTetherJson::Get(std::string strKey, unsigned long long& ullValue)
{
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isUInt, [&](const Json::Value& value) {
        ullValue = DoubleToInteger<unsigned long long>(value.asDouble());
    });
}

bool CTetherJson::Get(std::string strKey, std::vector<int>& vecValue)
{
    // Elements are not type-tested: one that does not convert throws, and
    // those appended before it stay.
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isArray, [&](const Json::Value& value) {
        for (Json::ArrayIndex i = 0; i < value.size(); ++i)
            vecValue.push_back(value[i].asInt());
    });
}

bool CTetherJson::Get(std::string strKey, std::vector<std::string>& vecValue)
{
    return GetMember(LOG_SITE(), bValid, jsonvalue, strKey, &Json::Value::isArray, [&](const Json::Value& value) {
        for (Json::ArrayIndex i = 0; i < value.size(); ++i)
            vecValue.push_back(value[i].asString());
    });
}

bool CTetherJson::Has(std::string strKey)
{
    return Caught(LOG_SITE(), false, [&] { return jsonvalue.isMember(strKey.c_str()); });
}

bool CTetherJson::IsInt(std::string strKey)
{
    return Caught(LOG_SITE(), false, [&] { return jsonvalue.get(strKey, Json::Value()).isInt(); });
}

bool CTetherJson::IsString(std::string strKey)
{
    return Caught(LOG_SITE(), false, [&] { return jsonvalue.get(strKey, Json::Value()).isString(); });
}

void CTetherJson::Remove(std::string strKey)
{
    // Refused silently while the document is invalid.
    Guarded(LOG_SITE(), bValid, jsonvalue, nullptr, false, false, [&] {
        if (jsonvalue.isMember(strKey.c_str()))
            jsonvalue.removeMember(strKey);
        return true;
    });
}

bool CTetherJson::GetKeys(std::vector<std::string>& vecKeys)
{
    return Guarded(LOG_SITE(), bValid, jsonvalue, "GetKeys", false, false, [&] {
        for (const std::string& strName : jsonvalue.getMemberNames())
            vecKeys.push_back(strName);
        return true;
    });
}

std::string CTetherJson::ToString()
{
    return Guarded(LOG_SITE(), bValid, jsonvalue, "ToString", std::string(), std::string("error"), [&] {
        Json::FastWriter writer;
        return writer.write(jsonvalue);
    });
}
