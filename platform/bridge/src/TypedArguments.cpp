#include "Bridge/TypedArguments.h"

#include <cmath>
#include <utility>

#include "Bridge/Converter.h"
#include "IsolateData.h"

namespace Bridge {

namespace {
const double TWO_TO_THE_64 = 18446744073709551616.0;
}  // namespace

TypedArguments::TypedArguments(const v8::FunctionCallbackInfo<v8::Value>& info, std::string strFunction)
    : m_info(info),
      m_pIsolate(info.GetIsolate()),
      m_context(info.GetIsolate()->GetCurrentContext()),
      m_strFunction(std::move(strFunction))
{
}

void TypedArguments::Fail(ScriptError::EKind eKind, const std::string& strMessage) const
{
    throw ScriptError(eKind, m_strFunction + ": " + strMessage);
}

std::string TypedArguments::String(int iIndex, const char* pszWhat) const
{
    std::string strValue;
    if (!Converter<std::string>::From(m_pIsolate, At(iIndex), strValue))
        Fail(ScriptError::TYPE_ERROR, std::string(pszWhat) + " must be a string");
    return strValue;
}

bool TypedArguments::Boolean(int iIndex, const char* pszWhat) const
{
    bool bValue = false;
    if (!Converter<bool>::From(m_pIsolate, At(iIndex), bValue))
        Fail(ScriptError::TYPE_ERROR, std::string(pszWhat) + " must be true or false");
    return bValue;
}

std::int64_t TypedArguments::Signed(v8::Local<v8::Value> value, std::int64_t llMin, std::int64_t llMax,
                                    const char* pszWhat) const
{
    std::string strRange = " from " + std::to_string(llMin) + " to " + std::to_string(llMax);
    if (Compat::IsBigInt(value)) {
        bool bLossless = false;
        std::int64_t llValue = Compat::BigIntToInt64(value, &bLossless);
        if (!bLossless || llValue < llMin || llValue > llMax)
            Fail(ScriptError::RANGE_ERROR, std::string(pszWhat) + " must be an integer" + strRange);
        return llValue;
    }
    double dValue = 0;
    if (!Converter<double>::From(m_pIsolate, value, dValue))
        Fail(ScriptError::TYPE_ERROR, std::string(pszWhat) + " must be a Number or BigInt");
    // Both bounds are exact as doubles for 32-bit ranges.
    if (std::trunc(dValue) != dValue || dValue < static_cast<double>(llMin) || dValue > static_cast<double>(llMax))
        Fail(ScriptError::RANGE_ERROR, std::string(pszWhat) + " must be an integer" + strRange);
    return static_cast<std::int64_t>(dValue);
}

std::uint64_t TypedArguments::Unsigned(v8::Local<v8::Value> value, std::uint64_t ullMax, const char* pszWhat) const
{
    std::string strRange = " from 0 to " + std::to_string(ullMax);
    if (Compat::IsBigInt(value)) {
        bool bLossless = false;
        std::uint64_t ullValue = Compat::BigIntToUint64(value, &bLossless);
        if (!bLossless || ullValue > ullMax)
            Fail(ScriptError::RANGE_ERROR, std::string(pszWhat) + " must be an integer" + strRange);
        return ullValue;
    }
    double dValue = 0;
    if (!Converter<double>::From(m_pIsolate, value, dValue))
        Fail(ScriptError::TYPE_ERROR, std::string(pszWhat) + " must be a Number or BigInt");
    double dMax = ullMax == UINT64_MAX ? TWO_TO_THE_64 : static_cast<double>(ullMax) + 1.0;
    if (std::trunc(dValue) != dValue || dValue < 0 || dValue >= dMax)
        Fail(ScriptError::RANGE_ERROR, std::string(pszWhat) + " must be an integer" + strRange);
    return static_cast<std::uint64_t>(dValue);
}

v8::Local<v8::Value> TypedArguments::Property(v8::Local<v8::Object> object, const char* pszName) const
{
    v8::Local<v8::Value> value;
    if (!Compat::Get(m_context, object, KeyToV8(m_pIsolate, pszName)).ToLocal(&value))
        throw ScriptExceptionPending();
    return value;
}

}  // namespace Bridge
