#include "Bridge/Converter.h"

#include "Bridge/ScriptError.h"
#include "Bridge/V8Compat.h"

namespace Bridge {

bool Converter<std::int64_t>::From(v8::Isolate*, v8::Local<v8::Value> value, std::int64_t& llOut)
{
    if (Compat::IsBigInt(value)) {
        bool bLossless = false;
        std::int64_t llValue = Compat::BigIntToInt64(value, &bLossless);
        if (!bLossless)
            return false;
        llOut = llValue;
        return true;
    }
    if (!value->IsNumber())
        return false;
    double dValue = value.As<v8::Number>()->Value();
    if (!(dValue >= -static_cast<double>(s_llMaxExact) && dValue <= static_cast<double>(s_llMaxExact)) ||
        dValue != static_cast<double>(static_cast<std::int64_t>(dValue)))
        return false;
    llOut = static_cast<std::int64_t>(dValue);
    return true;
}

double Converter<std::int64_t>::Exact(std::int64_t llValue)
{
    if (llValue > s_llMaxExact || llValue < -s_llMaxExact)
        throw ScriptError(ScriptError::RANGE_ERROR, "the integer " + std::to_string(llValue) +
                                                        " is beyond what a script number holds exactly (2^53 - 1)");
    return static_cast<double>(llValue);
}

}  // namespace Bridge
