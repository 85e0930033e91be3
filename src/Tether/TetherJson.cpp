#include "TetherJson.h"

#include "TetherLog.h"

#include <cmath>
#include <limits>

// Json::Reader and Json::FastWriter are deprecated in jsoncpp, but their
// parsing and output are exactly what this class promises its users.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

// This class's lines carry no tag, unlike the rest of the plug-in. Each
// operation writes its own lines, so that their frames name it.
#define JSON_LOG_W(fmt, ...) TETHER_LOG_FRAME(nullptr, DLOG_WARN, TETHER_COLOUR_RED, fmt, ##__VA_ARGS__)
// A caught jsoncpp exception, in the short frame: no colour, no thread id.
#define JSON_LOG_E(fmt, ...)                                                                                     \
    __dlog_print(LOG_ID_MAIN, DLOG_ERROR, nullptr, "%s: %s(%d) > [%s] " fmt, ::Tether::BaseName(__FILE__), __func__, \
                 __LINE__, __func__, ##__VA_ARGS__)

namespace {

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

}  // namespace

CTetherJson::CTetherJson() : jsonvalue(), bValid(true)
{
    try {
        jsonvalue.clear();
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
    }
}

// Only a text that parses to an object makes a valid document; the empty
// text is not one.
CTetherJson::CTetherJson(std::string strJson) : jsonvalue(), bValid(false)
{
    try {
        if (!strJson.empty()) {
            Json::Reader reader;
            if (!reader.parse(strJson, jsonvalue, true)) {
                // A failed parse may leave part of an object behind: never valid.
                JSON_LOG_W("Json::Reader parse string[%s] faild.", strJson.c_str());
                return;
            }
        }
        bValid = jsonvalue.type() == Json::objectValue;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
    }
}

CTetherJson::~CTetherJson() = default;

// The guarded operations refuse an invalid document with their own line and
// leave it alone. A Get reads a member only when it exists and passes the
// overload's type test; otherwise the target is left alone.

void CTetherJson::Clear()
{
    if (!bValid) {
        JSON_LOG_W("Clear fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return;
    }
    try {
        jsonvalue.clear();
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
    }
}

bool CTetherJson::Set(std::string strKey, bool bValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        jsonvalue[strKey] = Json::Value(bValue);
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, int iValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        jsonvalue[strKey] = Json::Value(iValue);
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, unsigned int uValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        jsonvalue[strKey] = Json::Value(uValue);
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, long long llValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        // Exact while |llValue| <= 2^53; beyond, the nearest double.
        jsonvalue[strKey] = Json::Value(static_cast<double>(llValue));
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, unsigned long long ullValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        jsonvalue[strKey] = Json::Value(static_cast<double>(ullValue));
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, double dValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        jsonvalue[strKey] = Json::Value(dValue);
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, std::string strValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        jsonvalue[strKey] = Json::Value(strValue);
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, const char* pszValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        jsonvalue[strKey] = Json::Value(std::string(pszValue != nullptr ? pszValue : ""));
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Set(std::string strKey, std::vector<std::string> vecValue)
{
    if (!bValid) {
        JSON_LOG_W("Set fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        // Appends rather than replaces; an empty vector creates no member.
        for (const std::string& strValue : vecValue)
            jsonvalue[strKey].append(Json::Value(strValue));
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, bool& bValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isBool()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        bValue = value.asBool();
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, int& iValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isInt()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        iValue = value.asInt();
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, double& dValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isDouble()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        dValue = value.asDouble();
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, std::string& strValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isString()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        strValue = value.asString();
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, long long& llValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isDouble()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        // Any number is accepted here, unlike the unsigned long long read.
        llValue = DoubleToInteger<long long>(value.asDouble());
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, unsigned int& uValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isUInt()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        uValue = value.asUInt();
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, unsigned long long& ullValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isUInt()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        ullValue = DoubleToInteger<unsigned long long>(value.asDouble());
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, std::vector<int>& vecValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isArray()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        // Elements are not type-tested: one that does not convert throws, and
        // those appended before it stay.
        for (Json::ArrayIndex i = 0; i < value.size(); ++i)
            vecValue.push_back(value[i].asInt());
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Get(std::string strKey, std::vector<std::string>& vecValue)
{
    if (!bValid) {
        JSON_LOG_W("Get fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        if (!jsonvalue.isMember(strKey.c_str())) {
            JSON_LOG_W("NO strKey[%s] in josn.", strKey.c_str());
            return false;
        }
        const Json::Value value = jsonvalue.get(strKey, Json::Value());
        if (!value.isArray()) {
            JSON_LOG_W("value.type[%d].", TypeOf(value));
            return false;
        }
        for (Json::ArrayIndex i = 0; i < value.size(); ++i)
            vecValue.push_back(value[i].asString());
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::Has(std::string strKey)
{
    try {
        return jsonvalue.isMember(strKey.c_str());
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::IsInt(std::string strKey)
{
    try {
        return jsonvalue.get(strKey, Json::Value()).isInt();
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

bool CTetherJson::IsString(std::string strKey)
{
    try {
        return jsonvalue.get(strKey, Json::Value()).isString();
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

void CTetherJson::Remove(std::string strKey)
{
    // Refused silently while the document is invalid.
    if (!bValid)
        return;
    try {
        if (jsonvalue.isMember(strKey.c_str()))
            jsonvalue.removeMember(strKey);
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
    }
}

bool CTetherJson::GetKeys(std::vector<std::string>& vecKeys)
{
    if (!bValid) {
        JSON_LOG_W("GetKeys fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return false;
    }
    try {
        for (const std::string& strName : jsonvalue.getMemberNames())
            vecKeys.push_back(strName);
        return true;
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return false;
    }
}

std::string CTetherJson::ToString()
{
    if (!bValid) {
        JSON_LOG_W("ToString fail. jsonvalue is invalid type[%d].", TypeOf(jsonvalue));
        return std::string();
    }
    try {
        Json::FastWriter writer;
        return writer.write(jsonvalue);
    } catch (const Json::Exception& e) {
        JSON_LOG_E("Exception Handled by : %s", e.what());
        return "error";
    }
}
