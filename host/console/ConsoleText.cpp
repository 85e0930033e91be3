#include "console/ConsoleText.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "console/Inspect.h"
#include "console/PrimitiveText.h"
#include "console/ScriptValues.h"

namespace Kite {

namespace {

const double NOT_A_NUMBER = std::numeric_limits<double>::quiet_NaN();

// The length of the white space or line terminator (as JavaScript counts
// them) at the start of the UTF-8 text, or 0.
std::size_t SpaceAt(const std::string& strText, std::size_t uAt)
{
    static const char* const WIDE_SPACES[] = {"\xC2\xA0", "\xE1\x9A\x80", "\xE2\x80\xA8", "\xE2\x80\xA9",
                                              "\xE2\x80\xAF", "\xE2\x81\x9F", "\xE3\x80\x80", "\xEF\xBB\xBF"};
    char c = strText[uAt];
    if (c == ' ' || (c >= '\t' && c <= '\r'))
        return 1;
    // U+2000 to U+200A
    if (strText.compare(uAt, 2, "\xE2\x80") == 0 && uAt + 2 < strText.size() &&
        static_cast<unsigned char>(strText[uAt + 2]) >= 0x80 && static_cast<unsigned char>(strText[uAt + 2]) <= 0x8A)
        return 3;
    for (const char* pszSpace : WIDE_SPACES) {
        std::string strSpace = pszSpace;
        if (strText.compare(uAt, strSpace.size(), strSpace) == 0)
            return strSpace.size();
    }
    return 0;
}

std::size_t SkipSpace(const std::string& strText)
{
    std::size_t uAt = 0;
    while (uAt < strText.size()) {
        std::size_t uSpace = SpaceAt(strText, uAt);
        if (uSpace == 0)
            break;
        uAt += uSpace;
    }
    return uAt;
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// parseInt(text)
double ParseInteger(const std::string& strText)
{
    std::size_t uAt = SkipSpace(strText);
    bool bNegative = uAt < strText.size() && strText[uAt] == '-';
    if (uAt < strText.size() && (strText[uAt] == '-' || strText[uAt] == '+'))
        ++uAt;
    bool bHex = strText.compare(uAt, 2, "0x") == 0 || strText.compare(uAt, 2, "0X") == 0;
    if (bHex)
        uAt += 2;
    std::size_t uStart = uAt;
    double dValue = 0;
    while (uAt < strText.size()) {
        char c = strText[uAt];
        int iDigit = IsDigit(c) ? c - '0' : (c >= 'a' && c <= 'f') ? c - 'a' + 10 : (c >= 'A' && c <= 'F') ? c - 'A' + 10 : 99;
        if (iDigit >= (bHex ? 16 : 10))
            break;
        dValue = dValue * 16 + iDigit;
        ++uAt;
    }
    if (uAt == uStart)
        return NOT_A_NUMBER;
    if (!bHex)
        dValue = std::strtod(strText.substr(uStart, uAt - uStart).c_str(), nullptr);
    return bNegative ? -dValue : dValue;
}

// parseFloat(text)
double ParseFloat(const std::string& strText)
{
    std::size_t uAt = SkipSpace(strText);
    std::size_t uStart = uAt;
    if (uAt < strText.size() && (strText[uAt] == '-' || strText[uAt] == '+'))
        ++uAt;
    if (strText.compare(uAt, 8, "Infinity") == 0)
        return strText[uStart] == '-' ? -std::numeric_limits<double>::infinity()
                                      : std::numeric_limits<double>::infinity();
    std::size_t uDigits = 0;
    while (uAt < strText.size() && IsDigit(strText[uAt]))
        ++uAt, ++uDigits;
    if (uAt < strText.size() && strText[uAt] == '.') {
        ++uAt;
        while (uAt < strText.size() && IsDigit(strText[uAt]))
            ++uAt, ++uDigits;
    }
    if (uDigits == 0)
        return NOT_A_NUMBER;
    if (uAt < strText.size() && (strText[uAt] == 'e' || strText[uAt] == 'E')) {
        std::size_t uExponent = uAt + 1;
        if (uExponent < strText.size() && (strText[uExponent] == '-' || strText[uExponent] == '+'))
            ++uExponent;
        if (uExponent < strText.size() && IsDigit(strText[uExponent])) {
            uAt = uExponent;
            while (uAt < strText.size() && IsDigit(strText[uAt]))
                ++uAt;
        }
    }
    return std::strtod(strText.substr(uStart, uAt - uStart).c_str(), nullptr);
}

// A toString of the script's own (not one of the engine's built-in ones):
// %s then prints what it answers instead of the inspected object.
bool HasOwnToString(v8::Local<v8::Context> context, v8::Local<v8::Object> object, bool& bOwn)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::Local<v8::Value> target = object;
    while (target->IsProxy())
        target = target.As<v8::Proxy>()->GetTarget();
    bOwn = false;
    if (!target->IsObject())
        return true;
    v8::Local<v8::Value> method;
    if (!target.As<v8::Object>()->Get(context, Bridge::NewText(pIsolate, "toString")).ToLocal(&method))
        return false;
    if (!method->IsFunction())
        return true;
    v8::Local<v8::String> source;
    if (!method.As<v8::Function>()->FunctionProtoToString(context).ToLocal(&source))
        return false;
    bOwn = TextOfValue(pIsolate, source).find("[native code]") == std::string::npos;
    return true;
}

bool StringSpecifier(v8::Local<v8::Context> context, v8::Local<v8::Value> value, std::string& strOut)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    if (value->IsNumber() || value->IsBigInt())
        return InspectValue(context, value, CInspectOptions(), strOut);
    if (value->IsObject() && !value->IsFunction()) {
        bool bOwn = false;
        if (!HasOwnToString(context, value.As<v8::Object>(), bOwn))
            return false;
        if (!bOwn) {
            CInspectOptions options;
            options.m_iDepth = 0;
            return InspectValue(context, value, options, strOut);
        }
    }
    return DisplayText(pIsolate, value, strOut);
}

bool NumberSpecifier(v8::Local<v8::Context> context, char cSpecifier, v8::Local<v8::Value> value,
                     std::string& strOut)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    if (value->IsBigInt() && cSpecifier != 'f')
        return InspectValue(context, value, CInspectOptions(), strOut);
    if (value->IsSymbol()) {
        strOut = "NaN";
        return true;
    }
    double dNumber = NOT_A_NUMBER;
    if (cSpecifier == 'd') {
        v8::Local<v8::Number> number;
        if (!value->ToNumber(context).ToLocal(&number))
            return false;
        dNumber = number->Value();
    } else {
        std::string strText;
        if (!DisplayText(pIsolate, value, strText))
            return false;
        dNumber = cSpecifier == 'i' ? ParseInteger(strText) : ParseFloat(strText);
    }
    strOut = NumberText(pIsolate, dNumber);
    return true;
}

// JSON.stringify, with [Circular] for a structure that refers to itself.
bool JsonSpecifier(v8::Local<v8::Context> context, v8::Local<v8::Value> value, std::string& strOut)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    v8::TryCatch tryCatch(pIsolate);
    v8::Local<v8::String> json;
    if (v8::JSON::Stringify(context, value).ToLocal(&json)) {
        strOut = TextOfValue(pIsolate, json);
        return true;
    }
    if (tryCatch.HasTerminated()) {
        tryCatch.ReThrow();
        return false;
    }
    std::string strMessage;
    v8::Local<v8::Message> message = tryCatch.Message();
    if (!message.IsEmpty())
        strMessage = TextOfValue(pIsolate, message->Get());
    if (strMessage.find("circular structure") != std::string::npos) {
        strOut = "[Circular]";
        return true;
    }
    tryCatch.ReThrow();
    return false;
}

bool Specifier(v8::Local<v8::Context> context, char cSpecifier, v8::Local<v8::Value> value, std::string& strOut)
{
    CInspectOptions options;
    switch (cSpecifier) {
    case 's':
        return StringSpecifier(context, value, strOut);
    case 'd':
    case 'i':
    case 'f':
        return NumberSpecifier(context, cSpecifier, value, strOut);
    case 'j':
        return JsonSpecifier(context, value, strOut);
    case 'o':
        options.m_bShowHidden = true;
        options.m_iDepth = 4;
        return InspectValue(context, value, options, strOut);
    case 'O':
        return InspectValue(context, value, options, strOut);
    default:  // 'c': a style for browsers' consoles, dropped
        strOut.clear();
        return true;
    }
}

}  // namespace

bool FormatConsoleArguments(v8::Local<v8::Context> context, const std::vector<v8::Local<v8::Value>>& aArguments,
                            std::string& strOut)
{
    v8::Isolate* pIsolate = context->GetIsolate();
    strOut.clear();
    std::size_t uNext = 0;
    if (aArguments.size() > 1 && aArguments[0]->IsString()) {
        std::string strFormat = TextOfValue(pIsolate, aArguments[0]);
        uNext = 1;
        for (std::size_t i = 0; i < strFormat.size(); ++i) {
            char c = strFormat[i];
            char cNext = i + 1 < strFormat.size() ? strFormat[i + 1] : '\0';
            if (c != '%' || cNext == '\0') {
                strOut += c;
                continue;
            }
            if (cNext == '%') {
                strOut += '%';
                ++i;
                continue;
            }
            if (std::string("sdifjoOc").find(cNext) == std::string::npos || uNext >= aArguments.size()) {
                strOut += c;
                continue;
            }
            std::string strValue;
            if (!Specifier(context, cNext, aArguments[uNext++], strValue))
                return false;
            strOut += strValue;
            ++i;
        }
    }
    for (; uNext < aArguments.size(); ++uNext) {
        std::string strValue;
        if (aArguments[uNext]->IsString())
            strValue = TextOfValue(pIsolate, aArguments[uNext]);
        else if (!InspectValue(context, aArguments[uNext], CInspectOptions(), strValue))
            return false;
        strOut += (uNext > 0 ? " " : "") + strValue;
    }
    return true;
}

std::string DurationText(double dMilliseconds)
{
    char szText[64];
    if (dMilliseconds >= 60000) {
        long long llMilliseconds = std::llround(dMilliseconds);
        long long llHours = llMilliseconds / 3600000;
        int iMinutes = static_cast<int>(llMilliseconds / 60000 % 60);
        int iSeconds = static_cast<int>(llMilliseconds / 1000 % 60);
        int iRest = static_cast<int>(llMilliseconds % 1000);
        if (llHours > 0)
            std::snprintf(szText, sizeof szText, "%lld:%02d:%02d.%03d (h:mm:ss.mmm)", llHours, iMinutes, iSeconds, iRest);
        else
            std::snprintf(szText, sizeof szText, "%d:%02d.%03d (m:ss.mmm)", iMinutes, iSeconds, iRest);
        return szText;
    }
    if (dMilliseconds >= 1000) {
        std::snprintf(szText, sizeof szText, "%.3fs", dMilliseconds / 1000);
        return szText;
    }
    // Three decimals at most, without trailing zeros.
    std::snprintf(szText, sizeof szText, "%.3f", dMilliseconds);
    std::string strText = szText;
    strText.erase(strText.find_last_not_of('0') + 1);
    if (strText.back() == '.')
        strText.pop_back();
    return strText + "ms";
}

}  // namespace Kite
